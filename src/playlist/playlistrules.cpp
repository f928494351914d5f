#include "playlist/playlistrules.h"

#include "app/numbertext.h"
#include "playback/placement.h"

#include <QRegularExpression>
#include <limits>

int RowsToScroll(int topIndex, int rowsPerPage, int rowCount) {
    if (topIndex + rowsPerPage < rowCount)
        return rowCount - rowsPerPage - topIndex;
    return 0;
}

NewMoviePlacement PlacementForNewMovie(QSize natural, const TPlayerSettings& settings) {
    if (!settings.MovieAuto)
        return {QSize(settings.MovieSizeX, settings.MovieSizeY),
                QPoint(settings.MovieShowX, settings.MovieShowY), false};
    const MoviePlacement placement =
        AutoPlacement(natural.width(), natural.height(), settings.WinSizeX, settings.WinSizeY);
    return {QSize(placement.sizeX, placement.sizeY), QPoint(placement.showX, placement.showY),
            placement.tooLarge};
}

int32_t WholeIntegerFromText(QStringView text) {
    static const QRegularExpression hexadecimal(
        QStringLiteral("^ *([+-]?)(?:\\$|0[xX]|[xX])([0-9A-Fa-f]+)\\z"));
    const QString whole = text.toString();
    const QRegularExpressionMatch match = hexadecimal.match(whole);
    if (!match.hasMatch())
        return NumberOr(text, 0);
    bool fits = false;
    const qint64 magnitude = match.capturedView(2).toLongLong(&fits, 16);
    const qint64 value = match.capturedView(1) == u"-" ? -magnitude : magnitude;
    if (!fits || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max())
        return 0;
    return static_cast<int32_t>(value);
}

bool IsBlankSecondsAllowed(int64_t seconds) {
    return seconds >= 1 && seconds <= MaxBlankSeconds;
}

int32_t BlankHoldSeconds(int32_t lengthMs) {
    return lengthMs < 1000 ? 0 : lengthMs / 1000;
}

MovieRowValues MovieRowValuesOf(const PlaylistItem& item) {
    const auto volume = [&item](int index) {
        QString text = item.subItems.value(index);
        text.chop(1);
        return NumberFromText(text);
    };
    return {SubItemNumber(item, SubShowSizeX),
            SubItemNumber(item, SubShowSizeY),
            SubItemNumber(item, SubShowPosX),
            SubItemNumber(item, SubShowPosY),
            volume(SubMasterVol),
            volume(SubWaveVol)};
}
