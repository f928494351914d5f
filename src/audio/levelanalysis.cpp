#include "audio/levelanalysis.h"

#include "app/processflags.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

std::array<int32_t, 101> LevelHistogram{};

LevelCount CountLevel(int64_t leftPercent, int64_t rightPercent) {
    if (!AnalysisArmed || !MovieActive)
        return LevelCount::NotCounted;
    const int64_t level = std::max(leftPercent, rightPercent);
    if (level < 0 || level > 100)
        return LevelCount::OutOfRange;
    ++LevelHistogram[static_cast<size_t>(level)];
    return LevelCount::Counted;
}

int32_t HistogramMaxCount(const std::array<int32_t, 101>& histogram) {
    return *std::max_element(histogram.begin() + 1, histogram.end());
}

int AnalizeListCompare(const QString& count1, const QString& count2) {
    const qlonglong a = count1.toLongLong();
    const qlonglong b = count2.toLongLong();
    if (a == b)
        return 0;
    return b > a ? 1 : -1;
}

int BarRow(int level) {
    return 2 * (100 - level) + 1;
}

int BarLength(int32_t count, int32_t maxCount) {
    if (maxCount <= 0)
        return 0;
    return static_cast<int>(int64_t{count} * GraphWidth / maxCount);
}

void ClearGraph(QImage& image) {
    QPainter painter(&image);
    painter.fillRect(0, 0, GraphWidth, GraphHeight, Qt::white);
}

void DrawBar(QImage& image, int level, int32_t count, int32_t maxCount, const QColor& colour) {
    const int length = BarLength(count, maxCount);
    if (length <= 0)
        return;
    QPainter painter(&image);
    // A line 2 pixels wide along row y covers rows y - 1 and y and leaves out its end point.
    painter.fillRect(0, BarRow(level) - 1, length, 2, colour);
}
