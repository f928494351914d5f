#pragma once

#include <QString>

// The playlist's own error box, apart from the coded error dialog and its suppression mask:
// 0 opening the list file failed, 1 not a list file, 2 a list of another version, 3 saving the
// list failed, 4 a movie larger than the stage. Any other code is an unexpected error.

// The text shown for a code.
QString ListErrorText(int code);
// The box captioned "Error" with the stop icon and one OK button.
void ShowListError(int code);
