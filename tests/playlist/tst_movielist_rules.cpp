// The playlist window's arithmetic: scrolling, the placement of a new movie, the blank dialog's
// number, the running total, what a run takes from a row and the error box's texts.

#include "playlist/listerror.h"
#include "playlist/playlistrules.h"
#include "playlist/totaltime.h"

#include <QtTest>
#include <limits>

namespace {

constexpr qint64 Int32Max = std::numeric_limits<int32_t>::max();
constexpr qint64 Int32Min = std::numeric_limits<int32_t>::min();
constexpr qint64 NoTotal = std::numeric_limits<qint64>::min();

TPlayerSettings stage(int width, int height, bool movieAuto) {
    TPlayerSettings s;
    s.WinSizeX = width;
    s.WinSizeY = height;
    s.MovieAuto = movieAuto;
    s.MovieSizeX = 300;
    s.MovieSizeY = 200;
    s.MovieShowX = 10;
    s.MovieShowY = -20;
    return s;
}

} // namespace

Q_DECLARE_METATYPE(TPlayerSettings)

class TestMovieListRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scrollShowsAppendedRow_data();
    void scrollShowsAppendedRow();
    void newMoviePlacement_data();
    void newMoviePlacement();
    void blankDialogNumber_data();
    void blankDialogNumber();
    void blankSecondsAllowed_data();
    void blankSecondsAllowed();
    void blankHold_data();
    void blankHold();
    void totalNeverWraps_data();
    void totalNeverWraps();
    void sumHeldInRange_data();
    void sumHeldInRange();
    void runValuesFromRow_data();
    void runValuesFromRow();
    void errorTexts_data();
    void errorTexts();
};

void TestMovieListRules::scrollShowsAppendedRow_data() {
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("perPage");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("scroll");

    QTest::newRow("fits on the page") << 0 << 10 << 10 << 0;
    QTest::newRow("one below the page") << 0 << 10 << 11 << 1;
    QTest::newRow("scrolled to the end before") << 5 << 10 << 16 << 1;
    QTest::newRow("scrolled back to the top") << 0 << 10 << 30 << 20;
    QTest::newRow("half way") << 7 << 10 << 30 << 13;
    QTest::newRow("first row") << 0 << 10 << 1 << 0;
    QTest::newRow("no full row fits") << 3 << 0 << 4 << 1;
}

void TestMovieListRules::scrollShowsAppendedRow() {
    QFETCH(int, top);
    QFETCH(int, perPage);
    QFETCH(int, rows);
    QFETCH(int, scroll);
    QCOMPARE(RowsToScroll(top, perPage, rows), scroll);
    // After the scroll the last row is the last one of the page, or already on it.
    QVERIFY(top + scroll + perPage >= rows);
}

void TestMovieListRules::newMoviePlacement_data() {
    QTest::addColumn<TPlayerSettings>("settings");
    QTest::addColumn<QSize>("natural");
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<bool>("tooLarge");

    const TPlayerSettings autoSmall = stage(320, 240, true);
    QTest::newRow("160x120: factor 2")
        << autoSmall << QSize(160, 120) << QSize(320, 240) << QPoint(0, 0) << false;
    QTest::newRow("100x100: factor 2, centred")
        << autoSmall << QSize(100, 100) << QSize(200, 200) << QPoint(60, 20) << false;
    QTest::newRow("400x300: larger than the stage")
        << autoSmall << QSize(400, 300) << QSize(400, 300) << QPoint(-40, -30) << true;
    QTest::newRow("no picture") << autoSmall << QSize(0, 0) << QSize(0, 0) << QPoint(160, 120)
                                << false;
    QTest::newRow("stage of the moment")
        << stage(640, 480, true) << QSize(160, 120) << QSize(640, 480) << QPoint(0, 0) << false;
    const TPlayerSettings manual = stage(320, 240, false);
    QTest::newRow("manual, small movie")
        << manual << QSize(100, 100) << QSize(300, 200) << QPoint(10, -20) << false;
    QTest::newRow("manual, movie larger than the stage")
        << manual << QSize(400, 300) << QSize(300, 200) << QPoint(10, -20) << false;
}

void TestMovieListRules::newMoviePlacement() {
    QFETCH(TPlayerSettings, settings);
    QFETCH(QSize, natural);
    QFETCH(QSize, shown);
    QFETCH(QPoint, position);
    QFETCH(bool, tooLarge);
    const NewMoviePlacement placement = PlacementForNewMovie(natural, settings);
    QCOMPARE(placement.shown, shown);
    QCOMPARE(placement.position, position);
    QCOMPARE(placement.tooLarge, tooLarge);
}

void TestMovieListRules::blankDialogNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("number");

    QTest::newRow("seconds") << "90" << qint64{90};
    QTest::newRow("leading spaces") << "   90" << qint64{90};
    QTest::newRow("trailing space") << "90 " << qint64{0};
    QTest::newRow("plus") << "+5" << qint64{5};
    QTest::newRow("minus") << "-5" << qint64{-5};
    QTest::newRow("dollar hexadecimal") << "$1F" << qint64{31};
    QTest::newRow("x hexadecimal") << "x1f" << qint64{31};
    QTest::newRow("0x hexadecimal") << "0X10" << qint64{16};
    QTest::newRow("signed hexadecimal") << "-$10" << qint64{-16};
    QTest::newRow("hexadecimal digit without prefix") << "1F" << qint64{0};
    QTest::newRow("prefix alone") << "0x" << qint64{0};
    QTest::newRow("empty") << "" << qint64{0};
    QTest::newRow("sign alone") << "-" << qint64{0};
    QTest::newRow("letters") << "abc" << qint64{0};
    QTest::newRow("number then letters") << "12abc" << qint64{0};
    QTest::newRow("blank inside") << "6 4" << qint64{0};
    QTest::newRow("tab before") << "\t5" << qint64{0};
    QTest::newRow("fullwidth digits") << "１２" << qint64{0};
    QTest::newRow("largest") << "2147483647" << Int32Max;
    QTest::newRow("smallest") << "-2147483648" << Int32Min;
    QTest::newRow("beyond 32 bits") << "2147483648" << qint64{0};
    QTest::newRow("far beyond") << "99999999999999999999999" << qint64{0};
    QTest::newRow("hexadecimal smallest") << "-$80000000" << Int32Min;
    QTest::newRow("hexadecimal beyond 32 bits") << "$80000000" << qint64{0};
    QTest::newRow("hexadecimal far beyond") << "0x99999999999999999999" << qint64{0};
}

void TestMovieListRules::blankDialogNumber() {
    QFETCH(QString, text);
    QFETCH(qint64, number);
    QCOMPARE(qint64{WholeIntegerFromText(text)}, number);
}

void TestMovieListRules::blankSecondsAllowed_data() {
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<bool>("allowed");

    QTest::newRow("0") << qint64{0} << false;
    QTest::newRow("1") << qint64{1} << true;
    QTest::newRow("negative") << qint64{-5} << false;
    QTest::newRow("longest that fits") << qint64{2147483} << true;
    QTest::newRow("one more") << qint64{2147484} << false;
    QTest::newRow("wraps in 32 bits") << qint64{4294968} << false;
}

void TestMovieListRules::blankSecondsAllowed() {
    QFETCH(qint64, seconds);
    QFETCH(bool, allowed);
    QCOMPARE(IsBlankSecondsAllowed(seconds), allowed);
    if (allowed)
        QVERIFY(seconds * 1000 <= Int32Max);
}

void TestMovieListRules::blankHold_data() {
    QTest::addColumn<int>("lengthMs");
    QTest::addColumn<int>("seconds");

    QTest::newRow("new blank") << 2000 << 2;
    QTest::newRow("from a file, cut to whole seconds") << 2500 << 2;
    QTest::newRow("below a second") << 999 << 0;
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("negative") << -5000 << 0;
    QTest::newRow("most negative") << INT32_MIN << 0;
    QTest::newRow("longest") << INT32_MAX << 2147483;
}

void TestMovieListRules::blankHold() {
    QFETCH(int, lengthMs);
    QFETCH(int, seconds);
    QCOMPARE(BlankHoldSeconds(lengthMs), seconds);
}

void TestMovieListRules::totalNeverWraps_data() {
    QTest::addColumn<qint64>("total");
    QTest::addColumn<qint64>("delta");
    // NoTotal: the step gives nothing, the rows' sum is taken instead.
    QTest::addColumn<qint64>("stepped");

    QTest::newRow("add") << qint64{1000} << qint64{2000} << qint64{3000};
    QTest::newRow("take away to zero") << qint64{2000} << qint64{-2000} << qint64{0};
    QTest::newRow("up to the top") << Int32Max - 5 << qint64{5} << Int32Max;
    QTest::newRow("past the top") << Int32Max - 5 << qint64{6} << NoTotal;
    QTest::newRow("past the bottom") << Int32Min + 5 << qint64{-6} << NoTotal;
    QTest::newRow("pinned at the top") << Int32Max << qint64{-1000} << NoTotal;
    QTest::newRow("pinned at the bottom") << Int32Min << qint64{1000} << NoTotal;
    QTest::newRow("only blank edited to the longest")
        << qint64{2000} << qint64{2147483000 - 2000} << qint64{2147483000};
    QTest::newRow("blank edited to the longest beside another")
        << qint64{4000} << qint64{2147483000 - 2000} << NoTotal;
}

void TestMovieListRules::totalNeverWraps() {
    QFETCH(qint64, total);
    QFETCH(qint64, delta);
    QFETCH(qint64, stepped);
    const std::optional<int32_t> result = SteppedTotal(static_cast<int32_t>(total), delta);
    QCOMPARE(result ? qint64{*result} : NoTotal, stepped);
}

void TestMovieListRules::sumHeldInRange_data() {
    QTest::addColumn<qint64>("sum");
    QTest::addColumn<qint64>("total");

    QTest::newRow("fits") << qint64{123456} << qint64{123456};
    QTest::newRow("top") << Int32Max << Int32Max;
    QTest::newRow("two longest blanks") << qint64{2} * 2147483000 << Int32Max;
    QTest::newRow("below the bottom") << Int32Min - 1 << Int32Min;
}

void TestMovieListRules::sumHeldInRange() {
    QFETCH(qint64, sum);
    QFETCH(qint64, total);
    QCOMPARE(qint64{ClampedTotal(sum)}, total);
}

void TestMovieListRules::runValuesFromRow_data() {
    QTest::addColumn<QStringList>("subItems");
    QTest::addColumn<QList<int>>("values"); // size x, y, position x, y, master, wave

    const QStringList visible{"0:00:02.000", "160,120", "320,240", "0,0"};
    const QStringList hidden{"0", "2000", "160", "120"};
    QTest::newRow("probed movie") << visible + QStringList{"75%", "50%"} + hidden +
                                         QStringList{"320", "240", "0", "-8"}
                                  << QList<int>{320, 240, 0, -8, 75, 50};
    QTest::newRow("typed in the properties dialog")
        << visible + QStringList{"%", "abc%"} + hidden + QStringList{"6 4", "", "-12", "+7"}
        << QList<int>{6, 0, -12, 7, 0, 0};
    QTest::newRow("volumes beyond 100")
        << visible + QStringList{"999%", "150%"} + hidden + QStringList{"1", "2", "3", "4"}
        << QList<int>{1, 2, 3, 4, 999, 150};
    QTest::newRow("new blank") << QStringList{"0:00:02.000", "0,0", "0,0", "0,0",
                                              "0%",          "0%",  "1",   "2000"}
                               << QList<int>{0, 0, 0, 0, 0, 0};
}

void TestMovieListRules::runValuesFromRow() {
    QFETCH(QStringList, subItems);
    QFETCH(QList<int>, values);
    const MovieRowValues v = MovieRowValuesOf({QStringLiteral("movie.avi"), subItems});
    QCOMPARE((QList<int>{v.sizeX, v.sizeY, v.showX, v.showY, v.masterVolume, v.waveVolume}),
             values);
}

void TestMovieListRules::errorTexts_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");

    QTest::newRow("0") << 0 << "リストのオープンに失敗しました";
    QTest::newRow("1") << 1 << "このファイルはリストファイルではありません";
    QTest::newRow("2") << 2 << "このリストはバージョンが違います";
    QTest::newRow("3") << 3 << "リストのセーブに失敗しました";
    QTest::newRow("4") << 4 << "ムービーがWindowサイズ以上です\nWindowサイズ内だけ表示します";
    QTest::newRow("5") << 5 << "予期せぬエラーです(Err:5)\n作者に連絡して下さい";
    QTest::newRow("-1") << -1 << "予期せぬエラーです(Err:-1)\n作者に連絡して下さい";
}

void TestMovieListRules::errorTexts() {
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(ListErrorText(code), text);
}

QTEST_APPLESS_MAIN(TestMovieListRules)
#include "tst_movielist_rules.moc"
