#include "app/application.h"

#include "app/messages.h"

#include <exception>

KestruneApplication::KestruneApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // Only closing the main window ends the program, whatever other windows are open or not.
    setQuitOnLastWindowClosed(false);
}

void ShowFailureText(const char* what) {
    ShowFailure(QString::fromUtf8(what) + QLatin1Char('.'));
}

bool KestruneApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowFailureText(e.what());
    } catch (...) {
        ShowFailureText("Unknown failure");
    }
    return false;
}
