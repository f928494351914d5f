#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <cstdint>

class QImage;

// How often each output level (percent 0 to 100) occurred while an analysis was armed; a count is
// a number of level ticks. Reset only when an analysis is armed.
extern std::array<int32_t, 101> LevelHistogram;

enum class LevelCount { NotCounted, Counted, OutOfRange };

// The analysis step of a level tick: counts the larger of the two levels while an analysis is
// armed and a movie is active. A level outside 0 to 100 is not counted.
LevelCount CountLevel(int64_t leftPercent, int64_t rightPercent);

// The largest count among levels 1 to 100 (level 0 is never shown).
int32_t HistogramMaxCount(const std::array<int32_t, 101>& histogram);

// The sort order of two rows of the analysis list by their count texts: the higher count first.
int AnalizeListCompare(const QString& count1, const QString& count2);

// The analysis graph: 300 x 200 pixels of white, level 100 at the top and level 1 at the bottom,
// each level a bar 2 pixels high whose length is its count scaled to the largest count.
inline constexpr int GraphWidth = 300;
inline constexpr int GraphHeight = 200;
// The row of a level's bar line: the bar covers this row and the one above it.
int BarRow(int level);
// The bar's length in pixels: it covers the columns 0 to length - 1.
int BarLength(int32_t count, int32_t maxCount);
void ClearGraph(QImage& image);
void DrawBar(QImage& image, int level, int32_t count, int32_t maxCount, const QColor& colour);
