// kestrune-displayguard DISPLAY
//
// Records the display configuration of the X screen, says "ready", and waits on its standard
// input. A byte 'r' means Kestrune gave the configuration back itself: it ends without touching
// anything. The end of the input (Kestrune is gone, however it ended) or SIGTERM, SIGINT or SIGHUP
// puts the recorded configuration back, then it ends. It also ends when the X server goes away.

#include "platform/xrandrconfig.h"

#include <X11/Xlib.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

enum class Outcome { Released, Restore };

Outcome waitForEnd(Display* display, int signals) {
    pollfd fds[3] = {
        {STDIN_FILENO, POLLIN, 0}, {signals, POLLIN, 0}, {ConnectionNumber(display), POLLIN, 0}};
    for (;;) {
        if (poll(fds, 3, -1) < 0) {
            if (errno == EINTR)
                continue;
            return Outcome::Restore;
        }
        if (fds[1].revents)
            return Outcome::Restore;
        if (fds[2].revents) {
            // Nothing is asked for on this connection, so it only stirs when the server goes
            // away; Xlib then ends the process.
            XPending(display);
        }
        if (fds[0].revents) {
            char byte = 0;
            const ssize_t n = read(STDIN_FILENO, &byte, 1);
            if (n < 0 && errno == EINTR)
                continue;
            return n == 1 && byte == 'r' ? Outcome::Released : Outcome::Restore;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrune-displayguard DISPLAY\n");
        return 2;
    }
    // Its own session: what Kestrune's terminal sends its process group (Ctrl+C, Ctrl+\, Ctrl+Z,
    // hang-up) must not end or stop the watchdog together with Kestrune.
    setsid();
    std::signal(SIGPIPE, SIG_IGN);
    sigset_t mask;
    sigemptyset(&mask);
    sigaddset(&mask, SIGTERM);
    sigaddset(&mask, SIGINT);
    sigaddset(&mask, SIGHUP);
    sigprocmask(SIG_BLOCK, &mask, nullptr);
    const int signals = signalfd(-1, &mask, SFD_CLOEXEC);

    Display* display = XOpenDisplay(argv[1]);
    if (!display || signals < 0 || !HasRandr12(display)) {
        std::fprintf(stderr, "kestrune-displayguard: no X server with XRandR 1.2 on %s\n", argv[1]);
        return 1;
    }
    const std::optional<ScreenConfiguration> recorded = CaptureConfiguration(display);
    if (!recorded)
        return 1;
    std::fputs("ready\n", stdout);
    std::fflush(stdout);

    int status = 0;
    if (waitForEnd(display, signals) == Outcome::Restore &&
        !ApplyConfiguration(display, *recorded)) {
        std::fprintf(stderr,
                     "kestrune-displayguard: the display configuration could not be put back\n");
        status = 1;
    }
    XCloseDisplay(display);
    return status;
}
