#pragma once

// The whole copy command: reads the arguments, copies, and returns the exit status.
int runCopyCommand(int argc, char **argv);
