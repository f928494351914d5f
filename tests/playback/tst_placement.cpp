#include "playback/placement.h"

#include <QtTest>

class TestPlacement : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void automaticPlacement_data();
    void automaticPlacement();
};

void TestPlacement::automaticPlacement_data() {
    QTest::addColumn<int>("naturalWidth");
    QTest::addColumn<int>("naturalHeight");
    QTest::addColumn<int>("stageWidth");
    QTest::addColumn<int>("stageHeight");
    QTest::addColumn<int>("sizeX");
    QTest::addColumn<int>("sizeY");
    QTest::addColumn<int>("showX");
    QTest::addColumn<int>("showY");
    QTest::addColumn<bool>("tooLarge");
    QTest::newRow("320x240 doubles") << 320 << 240 << 640 << 480 << 640 << 480 << 0 << 0 << false;
    QTest::newRow("160x120 by four") << 160 << 120 << 640 << 480 << 640 << 480 << 0 << 0 << false;
    QTest::newRow("352x240 centred")
        << 352 << 240 << 640 << 480 << 352 << 240 << 144 << 120 << false;
    QTest::newRow("176x144 by three")
        << 176 << 144 << 640 << 480 << 528 << 432 << 56 << 24 << false;
    QTest::newRow("213x160 one short") << 213 << 160 << 640 << 480 << 639 << 480 << 0 << 0 << false;
    QTest::newRow("321x240 odd room")
        << 321 << 240 << 640 << 480 << 321 << 240 << 159 << 120 << false;
    QTest::newRow("800x600 overhangs")
        << 800 << 600 << 640 << 480 << 800 << 600 << -80 << -60 << true;
    QTest::newRow("641x100 too wide") << 641 << 100 << 640 << 480 << 641 << 100 << 0 << 190 << true;
    QTest::newRow("no width") << 0 << 120 << 640 << 480 << 0 << 120 << 320 << 180 << false;
    QTest::newRow("no picture") << 0 << 0 << 640 << 480 << 0 << 0 << 320 << 240 << false;
    QTest::newRow("352x288 on 320x240")
        << 352 << 288 << 320 << 240 << 352 << 288 << -16 << -24 << true;
    QTest::newRow("odd overhang truncates toward zero")
        << 643 << 483 << 640 << 480 << 643 << 483 << -1 << -1 << true;
    QTest::newRow("100x100 on 320x240")
        << 100 << 100 << 320 << 240 << 200 << 200 << 60 << 20 << false;
}

void TestPlacement::automaticPlacement() {
    QFETCH(int, naturalWidth);
    QFETCH(int, naturalHeight);
    QFETCH(int, stageWidth);
    QFETCH(int, stageHeight);
    QFETCH(int, sizeX);
    QFETCH(int, sizeY);
    QFETCH(int, showX);
    QFETCH(int, showY);
    QFETCH(bool, tooLarge);
    const MoviePlacement p = AutoPlacement(naturalWidth, naturalHeight, stageWidth, stageHeight);
    QCOMPARE(p.sizeX, sizeX);
    QCOMPARE(p.sizeY, sizeY);
    QCOMPARE(p.showX, showX);
    QCOMPARE(p.showY, showY);
    QCOMPARE(p.tooLarge, tooLarge);
}

QTEST_APPLESS_MAIN(TestPlacement)
#include "tst_placement.moc"
