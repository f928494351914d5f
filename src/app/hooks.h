#pragma once

#include <QString>
#include <functional>

class QWidget;

// Operations of higher windows that lower parts of the program must reach. Each is set once at
// start-up by the window that owns it; until then calling it does nothing.

// Ends an armed level analysis and shows its result (level meter window).
extern std::function<void()> FinishAnalysis;
// Sets the meter window's volume bars and labels from the mixer.
extern std::function<void()> RefreshVolumeDisplay;
// Plays one movie file on the stage (main window).
extern std::function<void(const QString&)> MoviePlay;
// Shows the movie-opening notice, drawn before it returns, and hides it again (OpenInfo).
extern std::function<void()> ShowOpeningNotice;
extern std::function<void()> HideOpeningNotice;

// The main window, which other windows place themselves beside; set when it is created.
extern QWidget* MainForm;

// Calls a hook when it is set.
template <typename F, typename... Args> void CallHook(const F& hook, Args&&... args) {
    if (hook)
        hook(std::forward<Args>(args)...);
}
