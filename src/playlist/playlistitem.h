#pragma once

#include "playlist/ksxformat.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// One row of the playlist, held as texts: the caption (a movie's path, or "空白" for a blank) and
// the sub-item texts. Sub-items 0 to 5 are the visible columns; 6 to 13 are hidden values.
struct PlaylistItem {
    QString caption;
    QStringList subItems;

    bool operator==(const PlaylistItem&) const = default;
};

// The sub-item indices.
enum PlaylistSubItem : int {
    SubTime = 0,      // FormatDuration of the length
    SubMovieSize = 1, // "w,h", natural size
    SubShowSize = 2,  // "w,h", display size
    SubShowPos = 3,   // "x,y", display position inside the stage
    SubMasterVol = 4, // "75%"
    SubWaveVol = 5,   // "75%"
    SubItemKind = 6,  // "0" movie; anything else a blank
    SubLengthMs = 7,
    SubMovSizeX = 8,
    SubMovSizeY = 9,
    SubShowSizeX = 10,
    SubShowSizeY = 11,
    SubShowPosX = 12,
    SubShowPosY = 13,
};

// A number read from a row text the way C's atol reads: white space skipped, an optional sign,
// the decimal digits up to the first other character; 0 without digits. A value beyond 32 bits
// saturates at INT32_MIN or INT32_MAX, as strtol does.
int32_t NumberFromText(const QString& text);
// The number of a sub-item; a sub-item the row does not have reads 0.
int32_t SubItemNumber(const PlaylistItem& item, int index);
// A movie has sub-item 6 exactly "0".
bool IsMovie(const PlaylistItem& item);

// A new blank: "空白", 0:00:02.000, three times 0,0, 0%, 0%, kind 1 and "2000"; it has only these
// eight sub-items, so its hidden values 8 to 13 read 0.
PlaylistItem NewBlankItem();
// A probed movie with its placement and the volumes in percent, all fourteen sub-items filled.
PlaylistItem NewMovieItem(const QString& path, int32_t lengthMs, QSize natural, QSize shown,
                          QPoint position, int32_t masterVol, int32_t waveVol);

// A row as loading builds it: the name field's text as caption and all fourteen sub-items from
// the stored values, a blank's included.
PlaylistItem ItemFromRecord(const KsxRecord& record);
// A record as saving writes it, the numbers read from the texts; nothing when the caption does
// not fit the name field (more than 255 bytes as stored, or a 0 byte in it).
std::optional<KsxRecord> RecordFromItem(const PlaylistItem& item);
