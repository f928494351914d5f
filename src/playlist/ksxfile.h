#pragma once

#include "playlist/ksxformat.h"
#include "playlist/playlistitem.h"

#include <QList>
#include <QString>
#include <optional>

// Loading and saving a whole list. Both close the file before they return, so a caller shows its
// message with the file already closed, and neither touches the rows the window holds.

struct PlaylistReadResult {
    // ListOpenFailed (also a read error), ListNotAList or ListOtherVersion; no rows then.
    std::optional<ListError> error;
    QList<PlaylistItem> rows;
};

PlaylistReadResult ReadPlaylistFile(const QString& path);

// Whether the file starts with the playlist magic ("KSX" and 0x1A): such a file is a playlist,
// never a movie.
bool HasPlaylistMagic(const QString& path);

struct PlaylistWriteResult {
    enum Outcome {
        Written,
        // ListSaveFailed: the file could not be made or written; an old file is as it was.
        SaveFailed,
        // A caption does not fit the name field; nothing was written.
        NameDoesNotFit,
    };
    Outcome outcome = Written;
    int row = -1; // the first row whose caption does not fit
};

// Writes every row, or nothing: a failed save leaves an existing file as it was.
PlaylistWriteResult WritePlaylistFile(const QString& path, const QList<PlaylistItem>& rows);

// The refusal's message for the row at that index, naming it (counted from 1) and its caption.
QString NameDoesNotFitText(int row, const QString& caption);
