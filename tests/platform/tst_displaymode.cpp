// The rules of the XRandR display-mode switch, and the switch where there is no X11 display at
// all (the offscreen platform, as under Wayland without XWayland or with no display).

#include "app/settingsstore.h"
#include "platform/displaymode.h"
#include "platform/xrandrrules.h"
#include "playback/blackwin.h"
#include "support/modal.h"
#include "support/testenv.h"

#include <QtTest>

using Modes = std::vector<ListedMode>;
using Areas = std::vector<ScreenArea>;
using Formats = std::vector<PixelFormat>;
Q_DECLARE_METATYPE(Modes)
Q_DECLARE_METATYPE(Areas)
Q_DECLARE_METATYPE(Formats)

class TestDisplayMode : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void modeIsChosenOnlyAmongListedOnes_data();
    void modeIsChosenOnlyAmongListedOnes();
    void refreshFollowsTheTimings_data();
    void refreshFollowsTheTimings();
    void theOutputShowingTheCornerIsSwitched_data();
    void theOutputShowingTheCornerIsSwitched();
    void screenHoldsEveryOutput_data();
    void screenHoldsEveryOutput();
    void depthCountsBitsPerPixel_data();
    void depthCountsBitsPerPixel();
    void physicalSizeKeepsTheDensity_data();
    void physicalSizeKeepsTheDensity();

    void withoutX11TheSwitchReportsCode1_data();
    void withoutX11TheSwitchReportsCode1();
};

void TestDisplayMode::init() {
    ResetProcessState();
}

void TestDisplayMode::cleanup() {
    ClearModalActions();
}

void TestDisplayMode::modeIsChosenOnlyAmongListedOnes_data() {
    QTest::addColumn<Modes>("listed");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<double>("currentRefresh");
    QTest::addColumn<int>("chosen");

    const ListedMode vga60{11, 640, 480, 59.94, false};
    const ListedMode vga75{12, 640, 480, 75.0, false};
    const ListedMode vga85{13, 640, 480, 85.0, false};
    const ListedMode vgaInterlaced{14, 640, 480, 60.0, true};
    const ListedMode qvga{21, 320, 240, 120.1, false};
    const ListedMode wide{31, 640, 400, 70.0, false};
    const ListedMode tall{32, 480, 640, 60.0, false};

    QTest::newRow("exact size") << Modes{qvga, vga60} << QSize(640, 480) << 60.0 << 11;
    QTest::newRow("not listed: none") << Modes{qvga, wide, tall} << QSize(640, 480) << 60.0 << 0;
    QTest::newRow("nothing listed") << Modes{} << QSize(640, 480) << 60.0 << 0;
    QTest::newRow("same width only") << Modes{wide} << QSize(640, 480) << 60.0 << 0;
    QTest::newRow("turned sides do not match") << Modes{tall} << QSize(640, 480) << 60.0 << 0;
    QTest::newRow("nearest refresh") << Modes{vga60, vga85, vga75} << QSize(640, 480) << 72.0 << 12;
    QTest::newRow("tie: first listed") << Modes{vga85, vga75} << QSize(640, 480) << 80.0 << 13;
    QTest::newRow("progressive before interlaced")
        << Modes{vgaInterlaced, vga85} << QSize(640, 480) << 60.0 << 13;
    QTest::newRow("interlaced when that is all")
        << Modes{vgaInterlaced, qvga} << QSize(640, 480) << 60.0 << 14;
}

void TestDisplayMode::modeIsChosenOnlyAmongListedOnes() {
    QFETCH(Modes, listed);
    QFETCH(QSize, size);
    QFETCH(double, currentRefresh);
    QFETCH(int, chosen);
    QCOMPARE(ChooseMode(listed, size.width(), size.height(), currentRefresh),
             static_cast<unsigned long>(chosen));
}

void TestDisplayMode::refreshFollowsTheTimings_data() {
    QTest::addColumn<int>("dotClock");
    QTest::addColumn<int>("hTotal");
    QTest::addColumn<int>("vTotal");
    QTest::addColumn<bool>("interlaced");
    QTest::addColumn<bool>("doubleScan");
    QTest::addColumn<double>("refresh");

    QTest::newRow("640 x 480 VESA") << 25175000 << 800 << 525 << false << false << 59.94;
    QTest::newRow("interlaced: two fields a frame")
        << 74250000 << 2200 << 1125 << true << false << 60.0;
    QTest::newRow("double scan: each line twice")
        << 12587500 << 400 << 262 << false << true << 60.06;
    QTest::newRow("no timings") << 25175000 << 0 << 525 << false << false << 0.0;
}

void TestDisplayMode::refreshFollowsTheTimings() {
    QFETCH(int, dotClock);
    QFETCH(int, hTotal);
    QFETCH(int, vTotal);
    QFETCH(bool, interlaced);
    QFETCH(bool, doubleScan);
    QFETCH(double, refresh);
    const double got = ModeRefresh(dotClock, hTotal, vTotal, interlaced, doubleScan);
    QVERIFY2(std::abs(got - refresh) < 0.01, qPrintable(QString::number(got)));
}

void TestDisplayMode::theOutputShowingTheCornerIsSwitched_data() {
    QTest::addColumn<Areas>("areas");
    QTest::addColumn<QPoint>("corner");
    QTest::addColumn<int>("index"); // -1: none

    const Areas sideBySide{{0, 0, 1024, 768}, {1024, 0, 1280, 1024}};
    QTest::newRow("origin") << sideBySide << QPoint(0, 0) << 0;
    QTest::newRow("last pixel of the first") << sideBySide << QPoint(1023, 767) << 0;
    QTest::newRow("right edge belongs to the next") << sideBySide << QPoint(1024, 0) << 1;
    QTest::newRow("below the shorter one") << sideBySide << QPoint(100, 800) << -1;
    QTest::newRow("left of the screen") << sideBySide << QPoint(-1, 0) << -1;
    QTest::newRow("clones: the first")
        << Areas{{0, 0, 640, 480}, {0, 0, 1024, 768}} << QPoint(10, 10) << 0;
}

void TestDisplayMode::theOutputShowingTheCornerIsSwitched() {
    QFETCH(Areas, areas);
    QFETCH(QPoint, corner);
    QFETCH(int, index);
    const std::optional<std::size_t> shown = AreaShowing(areas, corner.x(), corner.y());
    QCOMPARE(shown ? static_cast<int>(*shown) : -1, index);
}

void TestDisplayMode::screenHoldsEveryOutput_data() {
    QTest::addColumn<Areas>("areas");
    QTest::addColumn<QSize>("minimum");
    QTest::addColumn<QSize>("maximum");
    QTest::addColumn<QSize>("screen"); // empty: too large

    const QSize min(320, 200);
    const QSize max(8192, 8192);
    QTest::newRow("one output") << Areas{{0, 0, 640, 480}} << min << max << QSize(640, 480);
    QTest::newRow("side by side") << Areas{{0, 0, 640, 480}, {1024, 0, 1024, 768}} << min << max
                                  << QSize(2048, 768);
    QTest::newRow("offset from the origin")
        << Areas{{100, 50, 640, 480}} << min << max << QSize(740, 530);
    QTest::newRow("below the minimum") << Areas{{0, 0, 320, 180}} << min << max << QSize(320, 200);
    QTest::newRow("nothing on") << Areas{} << min << max << QSize(320, 200);
    QTest::newRow("beyond the maximum")
        << Areas{{4096, 0, 4096, 768}, {8192, 0, 640, 480}} << min << max << QSize();
}

void TestDisplayMode::screenHoldsEveryOutput() {
    QFETCH(Areas, areas);
    QFETCH(QSize, minimum);
    QFETCH(QSize, maximum);
    QFETCH(QSize, screen);
    const std::optional<ScreenSize> size = ScreenSizeFor(areas, {minimum.width(), minimum.height()},
                                                         {maximum.width(), maximum.height()});
    QCOMPARE(size ? QSize(size->width, size->height) : QSize(), screen);
}

void TestDisplayMode::depthCountsBitsPerPixel_data() {
    QTest::addColumn<Formats>("formats");
    QTest::addColumn<int>("rootDepth");
    QTest::addColumn<bool>("gives24");
    QTest::addColumn<bool>("gives32");

    const Formats usual{{1, 1}, {8, 8}, {16, 16}, {24, 32}, {32, 32}};
    QTest::newRow("depth 24 in 32-bit pixels") << usual << 24 << false << true;
    QTest::newRow("packed 24-bit pixels") << Formats{{1, 1}, {24, 24}} << 24 << true << false;
    QTest::newRow("depth 16") << usual << 16 << false << false;
    QTest::newRow("depth 30 in 32-bit pixels")
        << Formats{{30, 32}, {24, 32}} << 30 << false << true;
    QTest::newRow("root depth without a format") << Formats{{24, 32}} << 16 << false << false;
}

void TestDisplayMode::depthCountsBitsPerPixel() {
    QFETCH(Formats, formats);
    QFETCH(int, rootDepth);
    QFETCH(bool, gives24);
    QFETCH(bool, gives32);
    QCOMPARE(BitsPerPixelAvailable(24, rootDepth, formats), gives24);
    QCOMPARE(BitsPerPixelAvailable(32, rootDepth, formats), gives32);
}

void TestDisplayMode::physicalSizeKeepsTheDensity_data() {
    QTest::addColumn<int>("pixels");
    QTest::addColumn<int>("oldPixels");
    QTest::addColumn<int>("oldMm");
    QTest::addColumn<int>("mm");

    QTest::newRow("same density") << 640 << 1024 << 270 << 169;
    QTest::newRow("unknown size: 96 per inch") << 640 << 1024 << 0 << 169;
    QTest::newRow("unknown pixels: 96 per inch") << 320 << 0 << 270 << 85;
}

void TestDisplayMode::physicalSizeKeepsTheDensity() {
    QFETCH(int, pixels);
    QFETCH(int, oldPixels);
    QFETCH(int, oldMm);
    QFETCH(int, mm);
    QCOMPARE(ScaledMillimetres(pixels, oldPixels, oldMm), mm);
}

void TestDisplayMode::withoutX11TheSwitchReportsCode1_data() {
    QTest::addColumn<QSize>("stage");
    QTest::addColumn<bool>("directDrawUse");
    QTest::addColumn<bool>("play32");
    QTest::addColumn<uint>("errorFlag");
    QTest::addColumn<bool>("reported");

    QTest::newRow("640 x 480") << QSize(640, 480) << true << false << 0u << true;
    QTest::newRow("320 x 240, 32-bit colour first")
        << QSize(320, 240) << true << true << 0u << true;
    QTest::newRow("code 2 suppressed") << QSize(640, 480) << true << false << 4u << true;
    QTest::newRow("code 1 suppressed") << QSize(640, 480) << true << false << 2u << false;
    QTest::newRow("every code suppressed") << QSize(640, 480) << true << true << 31u << false;
    QTest::newRow("800 x 600 asks for nothing") << QSize(800, 600) << true << false << 0u << false;
    QTest::newRow("DirectDrawUse off") << QSize(640, 480) << false << false << 0u << false;
}

void TestDisplayMode::withoutX11TheSwitchReportsCode1() {
    QFETCH(QSize, stage);
    QFETCH(bool, directDrawUse);
    QFETCH(bool, play32);
    QFETCH(uint, errorFlag);
    QFETCH(bool, reported);

    TestEnvironment env;
    QVERIFY(!CreateDisplayMode()());
    PlayerSettings.WinSizeX = stage.width();
    PlayerSettings.WinSizeY = stage.height();
    PlayerSettings.DirectDrawUse = directDrawUse;
    PlayerSettings.Play32 = play32;
    PlayerSettings.ErrorFlag = errorFlag;

    TBlackWin win;
    QStringList seen;
    PressOnNextModal(QStringLiteral("OK"), &seen);
    PressOnNextModal(QStringLiteral("OK"), &seen);
    win.setStageBounds(0, 0, stage.width(), stage.height());
    win.showStage();
    const QStringList code1{QStringLiteral("Error"),
                            QStringLiteral("DirectDrawの初期化に失敗しました"),
                            QStringLiteral("DirectDrawの使用ができません")};
    QCOMPARE(seen, reported ? code1 : QStringList());
    QVERIFY(!win.displayModeChanged());
    // The stage is up and the cursor hidden whatever became of the switch.
    QVERIFY(win.isVisible());
    QVERIFY(!CursorShownMemory);
    win.hideStage();
    QVERIFY(CursorShownMemory);
}

QTEST_MAIN(TestDisplayMode)
#include "tst_displaymode.moc"
