#pragma once

#include <QStringList>
#include <memory>
#include <vector>

class QWidget;

// Before the application object exists: choose the X11 platform where a display is set and no
// platform was asked for (a Wayland client cannot place its windows), and keep every size in
// device pixels (no high-DPI or user scaling), so 640 x 480 means 640 x 480 pixels.
void PrepareEnvironment();

// The eleven long-lived windows, created in their fixed order and destroyed in the reverse order
// so that every destruction handler runs (the meter stores its settings and closes the mixer).
class KestruneWindows {
public:
    explicit KestruneWindows(const QStringList& arguments);
    ~KestruneWindows();
    KestruneWindows(const KestruneWindows&) = delete;
    KestruneWindows& operator=(const KestruneWindows&) = delete;

private:
    std::vector<std::unique_ptr<QWidget>> windows_;
};

// Creates the windows, shows the main window and runs the message loop until the main window
// closes. A failure that escapes start-up is shown in an error box and ends the program.
// Returns the exit status, which is 0 either way.
int RunWindows(const QStringList& arguments);

// The whole program: start-up, the message loop and the end. Returns the exit status.
int RunKestrune(int argc, char** argv);
