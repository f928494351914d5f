#pragma once

#include <QString>
#include <QTextBrowser>

// The program's help window: the installed HTML manual, opened at its contents.
class THelpWindow : public QTextBrowser {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);
    // Shows the manual's contents; false when no manual is installed.
    bool showContents();
};

// The manual's contents page for the user's language, or empty when none is installed.
QString FindManual();
