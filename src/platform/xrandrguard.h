#pragma once

#include <QProcess>
#include <QString>

// Where the watchdog program is; empty means beside the running program, where it is installed.
extern QString DisplayGuardProgram;

// The watchdog of a display-mode switch: a small process with its own X connection that records
// the display configuration when it starts and puts it back when this program ends without having
// done so itself (a crash, SIGKILL, SIGTERM, an exit that skips the release). It learns of the end
// from its standard input: the pipe closes when this process is gone, however it went.
class DisplayGuard {
public:
    DisplayGuard() = default;
    // The switch was given back here: tells the watchdog to end without touching the display and
    // waits for it, so it never outlives the switch.
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;

    // Starts the watchdog for the display and waits until it has recorded the configuration.
    bool start(const QString& displayName);

private:
    QProcess process_;
};
