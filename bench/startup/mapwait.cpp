// Starts a program and prints the time from its start until its first window is mapped on the X
// server, and its peak memory then, in milliseconds and KiB; then ends the program. Nothing is
// measured inside the program itself.
//   bench_mapwait PROGRAM [ARGUMENTS...]
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

long peakKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2)
        return 2;
    // A display server that has just started may not take connections yet.
    Display *display = nullptr;
    for (int attempt = 0; attempt < 100 && !display; ++attempt) {
        if (!(display = XOpenDisplay(nullptr)))
            usleep(20000);
    }
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    // Without a window manager the root window hears of every top-level window mapped.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    for (XEvent event;;) {
        XNextEvent(display, &event);
        if (event.type == MapNotify && event.xmap.event == DefaultRootWindow(display))
            break;
    }
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    const long memory = peakKiB(child);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    std::printf("%.2f %ld\n", elapsed.count(), memory);
    XCloseDisplay(display);
    return 0;
}
