// Stands in for a caller that ends right after a start: starts argv[2] with the arguments that
// follow, as a help viewer is started, looking it up in the installation folder argv[1], and
// exits; the reason of a failed start goes to standard error.
#include "platform/posixprogramstarter.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 3)
        return 2;
    PosixProgramStarter starter(QString::fromLocal8Bit(argv[1]), {});
    ProgramStart request;
    request.program = QString::fromLocal8Bit(argv[2]);
    request.state = WindowState::MaximizedFocus;
    for (int i = 3; i < argc; ++i)
        request.arguments.append(QString::fromLocal8Bit(argv[i]));
    if (const QString reason = starter.start(request); !reason.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(reason));
        return 1;
    }
    return 0;
}
