#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Answers modal dialogs and message boxes that a call under test opens: once the nested loop of
// the modal widget runs, the action is given the active modal widget. Actions queue up and are
// used one per modal widget, in order.
void OnNextModal(std::function<void(QWidget*)> action);
// Presses the button with that text on the next modal widget, recording the widget's texts.
void PressOnNextModal(const QString& buttonText, QStringList* seenTexts = nullptr);
// Modal actions not used yet (a test expecting a dialog that never came fails on this).
int PendingModalActions();
// Drops unused actions.
void ClearModalActions();
// All the label texts of a widget, in child order (for checking what a box said).
QStringList WidgetTexts(QWidget* widget);
// Clicks the push button with that text inside the widget; false when there is none.
bool ClickButton(QWidget* widget, const QString& text);
