#pragma once

#include <QString>

class QWidget;

// The program's title: the caption of its plain message boxes and error boxes.
inline const QString ApplicationTitle = QStringLiteral("Kestrune");

// Every box stays on top so that it is never hidden behind the stage.

// A plain message box: the title as caption, the text and one OK button.
void ShowMessage(const QString& text);
// The failure handlers' box: the title as caption, the error icon, the text.
void ShowFailure(const QString& text);
// A box with one OK button and the stop icon.
void ShowStopMessage(const QString& caption, const QString& text);
// Yes/No question with the question icon and No as the default; true for Yes.
bool AskYesNo(const QString& caption, const QString& text);
