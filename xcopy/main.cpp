#include "copy_command.h"

int main(int argc, char **argv)
{
    return runCopyCommand(argc, argv);
}
