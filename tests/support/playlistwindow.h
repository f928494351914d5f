#pragma once

#include "playlist/playlistitem.h"

#include <QString>
#include <QStringList>

class TMovieList;

// Rows and answers for tests of the playlist window.

// A movie row as probing makes it (160 x 120 shown at 320 x 240 in the stage's corner, volumes
// 75 % and 50 %), without a file behind it.
PlaylistItem MovieRow(const QString& caption, int lengthMs);
// A blank of that length, as a file may hold it.
PlaylistItem BlankRow(int lengthMs);
QStringList CaptionsOf(const TMovieList& list);
// Chooses the path in the next file dialog as a user typing it whole into the name box. The
// dialog accepts from its own loop, so a question it asks (overwrite) can be answered too.
void ChooseFileInNextDialog(const QString& path);
