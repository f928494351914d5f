#pragma once

#include <QString>

class QWidget;

// Waits until the window system has activated the widget's window (a shown dialog becomes active a
// little later): focus changes and keys reach only an active window.
void AwaitActive(QWidget* widget);

// Types into a widget as a user does, key by key. Plain ASCII characters are typed as they are;
// named keys stand in brackets: [Left] [Right] [Home] [End] [Del] [BS] [Return] [Escape].
void TypeKeys(QWidget* widget, const QString& keys);
// Enters the widget as the Tab key does (focus with the tab reason), then types the keys.
void TabInAndType(QWidget* widget, const QString& keys);
