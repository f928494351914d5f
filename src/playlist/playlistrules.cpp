#include "playlist/playlistrules.h"

#include "playback/placement.h"

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

namespace {

int digitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    int value = base;
    if (u >= u'0' && u <= u'9')
        value = u - u'0';
    else if (base == 16 && u >= u'a' && u <= u'f')
        value = u - u'a' + 10;
    else if (base == 16 && u >= u'A' && u <= u'F')
        value = u - u'A' + 10;
    return value < base ? value : -1;
}

} // namespace

int64_t WholeIntegerFromText(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    const QStringView rest = text.mid(i);
    if (rest.startsWith(u'$') || rest.startsWith(u'x', Qt::CaseInsensitive)) {
        base = 16;
        i += 1;
    } else if (rest.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return 0;
    // Held short of the 64-bit ends, so the sign can be applied either way.
    constexpr int64_t Limit = std::numeric_limits<int64_t>::max();
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = digitValue(text[i], base);
        if (digit < 0)
            return 0;
        magnitude = magnitude > (Limit - digit) / base ? Limit : magnitude * base + digit;
    }
    return negative ? -magnitude : magnitude;
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
