#include "playlist/playlistitem.h"

#include "app/formatduration.h"
#include "playlist/cp932.h"

#include <algorithm>

namespace {

QString Pair(int32_t a, int32_t b) {
    return QString::number(a) + QLatin1Char(',') + QString::number(b);
}

QString Percent(int32_t value) {
    return QString::number(value) + QLatin1Char('%');
}

bool IsCSpace(QChar c) {
    return c == QLatin1Char(' ') || (c >= QLatin1Char('\t') && c <= QLatin1Char('\r'));
}

// The fourteen sub-items of a movie as probing makes them and of any row as loading makes it.
QStringList AllSubItems(int32_t lengthMs, int32_t kind, QSize natural, QSize shown, QPoint position,
                        int32_t masterVol, int32_t waveVol) {
    return {FormatDuration(lengthMs),
            Pair(natural.width(), natural.height()),
            Pair(shown.width(), shown.height()),
            Pair(position.x(), position.y()),
            Percent(masterVol),
            Percent(waveVol),
            QString::number(kind),
            QString::number(lengthMs),
            QString::number(natural.width()),
            QString::number(natural.height()),
            QString::number(shown.width()),
            QString::number(shown.height()),
            QString::number(position.x()),
            QString::number(position.y())};
}

} // namespace

int32_t NumberFromText(const QString& text) {
    constexpr int64_t Limit = int64_t{INT32_MAX} + 1;
    qsizetype i = 0;
    while (i < text.size() && IsCSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        value = std::min(value * 10 + (text[i].unicode() - u'0'), Limit);
    }
    return static_cast<int32_t>(
        std::clamp<int64_t>(negative ? -value : value, INT32_MIN, INT32_MAX));
}

int32_t SubItemNumber(const PlaylistItem& item, int index) {
    return NumberFromText(item.subItems.value(index));
}

bool IsMovie(const PlaylistItem& item) {
    return item.subItems.value(SubItemKind) == QLatin1String("0");
}

PlaylistItem NewBlankItem() {
    constexpr int32_t LengthMs = 2000;
    const QString zeroPair = Pair(0, 0);
    return {QStringLiteral("空白"),
            {FormatDuration(LengthMs), zeroPair, zeroPair, zeroPair, Percent(0), Percent(0),
             QString::number(1), QString::number(LengthMs)}};
}

PlaylistItem NewMovieItem(const QString& path, int32_t lengthMs, QSize natural, QSize shown,
                          QPoint position, int32_t masterVol, int32_t waveVol) {
    return {path, AllSubItems(lengthMs, 0, natural, shown, position, masterVol, waveVol)};
}

PlaylistItem ItemFromRecord(const KsxRecord& record) {
    const QByteArrayView field(record.Name.data(), static_cast<qsizetype>(record.Name.size()));
    return {DecodeListName(field),
            AllSubItems(record.LengthMs, record.ItemKind, QSize(record.MovSizeX, record.MovSizeY),
                        QSize(record.ShowSizeX, record.ShowSizeY),
                        QPoint(record.ShowPosX, record.ShowPosY), record.MasterVol,
                        record.WaveVol)};
}

std::optional<KsxRecord> RecordFromItem(const PlaylistItem& item) {
    const QByteArray name = EncodeListName(item.caption);
    // The text and its terminating 0 must fit the field, and a 0 inside would cut the name.
    if (name.size() >= static_cast<qsizetype>(KsxNameSize) || name.contains('\0')) {
        return std::nullopt;
    }
    KsxRecord record;
    std::ranges::copy(name, record.Name.begin());
    record.LengthMs = SubItemNumber(item, SubLengthMs);
    record.ItemKind = SubItemNumber(item, SubItemKind);
    if (record.ItemKind == 0) {
        record.MovSizeX = SubItemNumber(item, SubMovSizeX);
        record.MovSizeY = SubItemNumber(item, SubMovSizeY);
        record.ShowSizeX = SubItemNumber(item, SubShowSizeX);
        record.ShowSizeY = SubItemNumber(item, SubShowSizeY);
        record.ShowPosX = SubItemNumber(item, SubShowPosX);
        record.ShowPosY = SubItemNumber(item, SubShowPosY);
        record.MasterVol = SubItemNumber(item, SubMasterVol);
        record.WaveVol = SubItemNumber(item, SubWaveVol);
    }
    return record;
}
