#include "interrupt_cleanup.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int interruptedStatus = 2;

char temporaryName[NAME_MAX + 1];
volatile sig_atomic_t temporaryFolderFd = -1;

extern "C" void onInterrupt(int)
{
    const int folderFd = temporaryFolderFd;
    if (folderFd != -1)
        unlinkat(folderFd, temporaryName, 0);
    static const char message[] = "\nInterrupted\n";
    [[maybe_unused]] const auto written = write(STDERR_FILENO, message, sizeof message - 1);
    _exit(interruptedStatus);
}

} // namespace

void installInterruptHandlers()
{
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&action.sa_mask, signal);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
    std::signal(SIGXFSZ, SIG_IGN);
}

void rememberTemporaryFile(int folderFd, const char *name)
{
    temporaryFolderFd = -1;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    std::strncpy(temporaryName, name, NAME_MAX);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    temporaryFolderFd = folderFd;
}

void forgetTemporaryFile()
{
    temporaryFolderFd = -1;
}
