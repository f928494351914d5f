#pragma once

#include <QApplication>

// The application object. A failure that escapes an event handler is shown with a full stop
// appended in an error box captioned with the title, and the program goes on.
class KestruneApplication : public QApplication {
    Q_OBJECT
public:
    KestruneApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows a failure's text the way the failure handlers do.
void ShowFailureText(const char* what);
