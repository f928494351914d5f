#include "playlist/playlistitem.h"

#include <QtTest>

class TestPlaylistItem : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void numberReadLikeAtol_data();
    void numberReadLikeAtol();
    void movieOnlyForExactlyZero_data();
    void movieOnlyForExactlyZero();
    void newRowsHoldTheirTexts_data();
    void newRowsHoldTheirTexts();
};

void TestPlaylistItem::numberReadLikeAtol_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");

    QTest::newRow("volume") << "75%" << 75;
    QTest::newRow("white space and sign") << " \t\n\v\f\r-12abc" << -12;
    QTest::newRow("plus") << "+7" << 7;
    QTest::newRow("blank inside") << "6 4" << 6;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("percent alone") << "%" << 0;
    QTest::newRow("sign then space") << "- 5" << 0;
    QTest::newRow("two signs") << "+-5" << 0;
    QTest::newRow("hexadecimal") << "0x1F" << 0;
    QTest::newRow("fullwidth digits") << "１２" << 0;
    QTest::newRow("ideographic space") << "\u30005" << 0;
    QTest::newRow("largest") << "2147483647" << INT32_MAX;
    QTest::newRow("smallest") << "-2147483648" << INT32_MIN;
    QTest::newRow("just too large") << "2147483648" << INT32_MAX;
    QTest::newRow("just too small") << "-2147483649" << INT32_MIN;
    QTest::newRow("far too large") << "99999999999999999999999999" << INT32_MAX;
    QTest::newRow("leading zeros") << "-000000000000000000042" << -42;
}

void TestPlaylistItem::numberReadLikeAtol() {
    QFETCH(QString, text);
    QFETCH(int, number);
    QCOMPARE(NumberFromText(text), number);
}

void TestPlaylistItem::movieOnlyForExactlyZero_data() {
    QTest::addColumn<QStringList>("subItems");
    QTest::addColumn<bool>("movie");

    const QStringList visible{"", "", "", "", "", ""};
    QTest::newRow("0") << visible + QStringList{"0"} << true;
    QTest::newRow("1") << visible + QStringList{"1"} << false;
    QTest::newRow("00") << visible + QStringList{"00"} << false;
    QTest::newRow("space 0") << visible + QStringList{" 0"} << false;
    QTest::newRow("empty") << visible + QStringList{""} << false;
    QTest::newRow("missing") << visible << false;
}

void TestPlaylistItem::movieOnlyForExactlyZero() {
    QFETCH(QStringList, subItems);
    QFETCH(bool, movie);
    QCOMPARE(IsMovie({"a.avi", subItems}), movie);
}

void TestPlaylistItem::newRowsHoldTheirTexts_data() {
    QTest::addColumn<PlaylistItem>("item");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("texts");

    QTest::newRow("blank") << NewBlankItem() << "空白"
                           << "0:00:02.000|0,0|0,0|0,0|0%|0%|1|2000";
    QTest::newRow("movie larger than the stage")
        << NewMovieItem("/v/big.mpg", 5400000, {400, 300}, {400, 300}, {-40, -30}, 100, 7)
        << "/v/big.mpg"
        << "1:30:00.000|400,300|400,300|-40,-30|100%|7%|0|5400000|400|300|400|300|-40|-30";
    QTest::newRow("sound only") << NewMovieItem("a.mov", 83456, {0, 0}, {0, 0}, {0, 0}, 0, 0)
                                << "a.mov"
                                << "0:01:23.456|0,0|0,0|0,0|0%|0%|0|83456|0|0|0|0|0|0";
}

void TestPlaylistItem::newRowsHoldTheirTexts() {
    QFETCH(PlaylistItem, item);
    QFETCH(QString, caption);
    QFETCH(QString, texts);
    QCOMPARE(item.caption, caption);
    QCOMPARE(item.subItems, texts.split('|'));
}

QTEST_GUILESS_MAIN(TestPlaylistItem)
#include "tst_playlistitem.moc"
