#pragma once

#include "app/settingsstore.h"
#include "playlist/playlistitem.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringView>
#include <cstdint>

// The playlist window's arithmetic, as pure functions.

// How many rows the list scrolls down so that a row appended at the end comes into view: the rows
// below the last fully visible one, 0 when the list already shows the end.
int RowsToScroll(int topIndex, int rowsPerPage, int rowCount);

// Where a newly added movie is shown. With MovieAuto it is the automatic placement on the stage
// size of this moment (tooLarge: the movie is larger than the stage and shown at factor 1, which
// is reported); otherwise the stored movie placement, whatever the movie's size.
struct NewMoviePlacement {
    QSize shown;
    QPoint position;
    bool tooLarge = false;
};
NewMoviePlacement PlacementForNewMovie(QSize natural, const TPlayerSettings& settings);

// The longest blank in whole seconds whose milliseconds still fit a 32-bit length.
inline constexpr int32_t MaxBlankSeconds = 2147483;
// The blank dialog's text read as a whole integer: leading spaces, an optional sign, then decimal
// digits or a hexadecimal number after "$", "x" or "0x", and nothing after them. Every other text
// gives 0, and so does a number beyond the 32-bit range.
int32_t WholeIntegerFromText(QStringView text);
// A blank's duration in seconds, when the dialog may take it: 1 to MaxBlankSeconds.
bool IsBlankSecondsAllowed(int64_t seconds);

// How many whole seconds a blank of that length holds the stage: none for a length below one
// second, a negative one included.
int32_t BlankHoldSeconds(int32_t lengthMs);

// What a run takes from a movie row: the display size and position (sub-items 10 to 13) and the
// volumes in percent (sub-items 4 and 5 without their final "%").
struct MovieRowValues {
    int32_t sizeX = 0;
    int32_t sizeY = 0;
    int32_t showX = 0;
    int32_t showY = 0;
    int32_t masterVolume = 0;
    int32_t waveVolume = 0;

    bool operator==(const MovieRowValues&) const = default;
};
MovieRowValues MovieRowValuesOf(const PlaylistItem& item);
