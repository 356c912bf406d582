#include "interrupt_cleanup.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int interruptedStatus = 2;

struct TemporaryFileSlot
{
    std::atomic<int> folderFd{-1};
    char name[NAME_MAX + 1];
};

TemporaryFileSlot slots[maxTemporaryFileHolders];
std::atomic<int> slotsTaken{0};
thread_local const int ownSlot = slotsTaken++;

// Files being created right now: the handler waits for them, so that no file appears after it
// removed what it knew of.
std::atomic<int> creating{0};
thread_local std::atomic<bool> ownCreation{false};
std::atomic<bool> interrupted{false};

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the signal handler reads these");

void waitForCreations()
{
    const int own = ownCreation ? 1 : 0;
    const timespec pause{0, 1'000'000};
    for (int waited = 0; creating != own && waited < 2000; ++waited)
        nanosleep(&pause, nullptr);
}

extern "C" void onInterrupt(int)
{
    interrupted = true;
    waitForCreations();
    for (TemporaryFileSlot &slot : slots) {
        if (const int folderFd = slot.folderFd; folderFd != -1)
            unlinkat(folderFd, slot.name, 0);
    }
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
    // A reader of the listing that goes away must not cut a backup short.
    std::signal(SIGPIPE, SIG_IGN);
}

namespace {

// Runs MAKE, which makes the file NAME in the folder and tells whether it did, with the name in the
// thread's slot meanwhile, so that the file is removed whenever an interrupt comes.
template <typename Make> void makeTemporaryFile(int folderFd, const char *name, const Make &make)
{
    TemporaryFileSlot &slot = slots[ownSlot];
    ownCreation = true;
    ++creating;
    if (interrupted) {
        // The handler is ending the program; it must not wait for this thread.
        --creating;
        ownCreation = false;
        for (;;)
            pause();
    }
    slot.folderFd = -1;
    std::strncpy(slot.name, name, NAME_MAX);
    slot.folderFd = folderFd;
    const bool made = make();
    const int error = errno;
    if (!made)
        slot.folderFd = -1;
    --creating;
    ownCreation = false;
    errno = error;
}

} // namespace

int createTemporaryFile(int folderFd, const char *name, mode_t mode)
{
    int fd = -1;
    makeTemporaryFile(folderFd, name, [&] {
        fd = openat(folderFd, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        return fd >= 0;
    });
    return fd;
}

int linkTemporaryFile(int folderFd, const char *name, const std::function<int()> &link)
{
    int error = 0;
    makeTemporaryFile(folderFd, name, [&] {
        error = link();
        return error == 0;
    });
    return error;
}

void forgetTemporaryFile()
{
    slots[ownSlot].folderFd = -1;
}
