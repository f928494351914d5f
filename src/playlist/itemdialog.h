#pragma once

#include <QSize>
#include <Qt>

class QAbstractButton;
class QDialog;

// The frame shared by the playlist's item dialogs: a fixed dialog border, kept above every other
// window (the stage included), with the form font; OK and Cancel close it with their results.
inline constexpr Qt::WindowFlags ItemDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint;

void SetUpItemDialog(QDialog* dialog, QSize clientSize, QAbstractButton* ok,
                     QAbstractButton* cancel);
