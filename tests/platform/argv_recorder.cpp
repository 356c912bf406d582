// Stands in for a started program: writes its program path and each argument, every one
// followed by a NUL byte, to the file named by RECORD_TO. The file appears complete or not at
// all. With RECORD_AFTER naming a FIFO it first waits until something is written into it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char *argv[])
{
    const char *recordTo = std::getenv("RECORD_TO");
    if (!recordTo)
        return 2;
    if (const char *gate = std::getenv("RECORD_AFTER")) {
        if (std::FILE *fifo = std::fopen(gate, "r")) {
            std::fgetc(fifo);
            std::fclose(fifo);
        }
    }
    const std::string partial = std::string(recordTo) + ".part";
    std::FILE *out = std::fopen(partial.c_str(), "wb");
    if (!out)
        return 3;
    for (int i = 0; i < argc; ++i)
        std::fwrite(argv[i], 1, std::strlen(argv[i]) + 1, out);
    if (std::fclose(out) != 0 || std::rename(partial.c_str(), recordTo) != 0)
        return 3;
    return 0;
}
