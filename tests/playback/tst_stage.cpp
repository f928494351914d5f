#include "app/errorwindow.h"
#include "app/settingsstore.h"
#include "platform/displaymode.h"
#include "playback/blackwin.h"
#include "support/modal.h"
#include "support/testenv.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QWindow>
#include <QtTest>

namespace {

// What the double of the display-mode switch was asked, in order.
QStringList calls;

struct DoubleConfig {
    bool creatable = true;
    bool exclusive = true;
    QList<int> depths; // colour depths that can be set
};
DoubleConfig config;

class DisplayModeDouble : public DisplayModeDevice {
public:
    ~DisplayModeDouble() override { calls << QStringLiteral("release"); }
    bool setExclusiveLevel(QWidget*) override {
        calls << QStringLiteral("exclusive");
        return config.exclusive;
    }
    void setNormalLevel(QWidget*) override { calls << QStringLiteral("normal"); }
    bool setDisplayMode(int w, int h, int bpp) override {
        calls << QStringLiteral("mode %1x%2x%3").arg(w).arg(h).arg(bpp);
        return config.depths.contains(bpp);
    }
    void flipToNormalSurface() override { calls << QStringLiteral("flip"); }
};

// Records the modal boxes shown while the stage appears: the error dialog's first line, or the
// text of a message box.
QStringList& answerEveryModal(int expected) {
    static QStringList seen;
    seen.clear();
    for (int i = 0; i < expected; ++i) {
        OnNextModal([](QWidget* modal) {
            if (auto* error = qobject_cast<TErrorWindow*>(modal))
                seen << QStringLiteral("code: ") + error->Error1->text();
            else if (auto* box = qobject_cast<QMessageBox*>(modal))
                seen << box->text();
            modal->close();
        });
    }
    return seen;
}

} // namespace

class TestStage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void displayModeRules_data();
    void displayModeRules();
    void everyKeyDownIsAnInput();
    void eachLeftPressCountsOnce();
    void cursorFollowsTheMouse();
    void cursorMemoryKeepsOneStep();

private:
    TBlackWin* stage = nullptr;
    QWidget* other = nullptr;
    int inputs = 0;
    QStringList* modalsSeen = nullptr;
};

void TestStage::initTestCase() {
    CreateDisplayMode() = [] {
        calls << QStringLiteral("create");
        return config.creatable ? std::make_unique<DisplayModeDouble>()
                                : std::unique_ptr<DisplayModeDouble>();
    };
}

void TestStage::init() {
    ResetProcessState();
    ClearModalActions();
    calls.clear();
    config = DoubleConfig{};
    inputs = 0;
    stage = new TBlackWin;
    stage->onStartStop = [this] {
        ++inputs;
    };
    other = new QWidget;
    other->setGeometry(700, 0, 100, 100);
}

void TestStage::cleanup() {
    delete stage;
    delete other;
    stage = nullptr;
    other = nullptr;
    SetCursorShown(true);
}

void TestStage::displayModeRules_data() {
    QTest::addColumn<bool>("use");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("play32");
    QTest::addColumn<bool>("creatable");
    QTest::addColumn<bool>("exclusive");
    QTest::addColumn<QList<int>>("depths");
    QTest::addColumn<QStringList>("expectedCalls");
    QTest::addColumn<QStringList>("expectedBoxes");
    QTest::addColumn<bool>("held");

    const QString ok24 = QStringLiteral("mode 640x480x24");
    const QString ok32 = QStringLiteral("mode 640x480x32");
    const QString code1 = QStringLiteral("code: DirectDrawの初期化に失敗しました");
    const QString code2 = QStringLiteral("code: 非対応の画面モードです");
    const QString msg32 = QStringLiteral("32bits colorで再生できません\n24bits colorで再生します");

    QTest::newRow("off") << false << QSize(640, 480) << false << true << true << QList<int>{24}
                         << QStringList{} << QStringList{} << false;
    QTest::newRow("800x600 asks nothing")
        << true << QSize(800, 600) << false << true << true << QList<int>{24} << QStringList{}
        << QStringList{} << false;
    QTest::newRow("640x400 asks nothing")
        << true << QSize(640, 400) << false << true << true << QList<int>{24} << QStringList{}
        << QStringList{} << false;
    QTest::newRow("24 first") << true << QSize(640, 480) << false << true << true
                              << QList<int>{24, 32}
                              << QStringList{"create", "exclusive", ok24, "normal", "flip"}
                              << QStringList{} << true;
    QTest::newRow("320x240") << true << QSize(320, 240) << false << true << true << QList<int>{24}
                             << QStringList{"create", "exclusive", "mode 320x240x24", "normal",
                                            "flip"}
                             << QStringList{} << true;
    QTest::newRow("32 refused, 24 with message")
        << true << QSize(640, 480) << true << true << true << QList<int>{24}
        << QStringList{"create", "exclusive", ok32, ok24, "normal", "flip"} << QStringList{msg32}
        << true;
    QTest::newRow("24 refused, 32 silently")
        << true << QSize(640, 480) << false << true << true << QList<int>{32}
        << QStringList{"create", "exclusive", ok24, ok32, "normal", "flip"} << QStringList{}
        << true;
    QTest::newRow("no depth: code 2")
        << true << QSize(640, 480) << false << true << true << QList<int>{}
        << QStringList{"create", "exclusive", ok24, ok32, "normal", "release"} << QStringList{code2}
        << false;
    QTest::newRow("not creatable: code 1")
        << true << QSize(640, 480) << false << false << true << QList<int>{24}
        << QStringList{"create"} << QStringList{code1} << false;
    QTest::newRow("no exclusive level: code 1")
        << true << QSize(640, 480) << false << true << false << QList<int>{24}
        << QStringList{"create", "exclusive", "normal", "release"} << QStringList{code1} << false;
}

void TestStage::displayModeRules() {
    QFETCH(bool, use);
    QFETCH(QSize, size);
    QFETCH(bool, play32);
    QFETCH(bool, creatable);
    QFETCH(bool, exclusive);
    QFETCH(QList<int>, depths);
    QFETCH(QStringList, expectedCalls);
    QFETCH(QStringList, expectedBoxes);
    QFETCH(bool, held);
    TestEnvironment env;
    PlayerSettings.DirectDrawUse = use;
    PlayerSettings.WinSizeX = size.width();
    PlayerSettings.WinSizeY = size.height();
    PlayerSettings.Play32 = play32;
    config = DoubleConfig{creatable, exclusive, depths};

    const QStringList& boxes = answerEveryModal(expectedBoxes.size());
    stage->setStageBounds(0, 0, size.width(), size.height());
    stage->showStage();
    QCOMPARE(calls, expectedCalls);
    QCOMPARE(boxes, expectedBoxes);
    QCOMPARE(stage->displayModeChanged(), held);
    QVERIFY(!CursorShownMemory);

    // Showing it again only brings it to the front.
    stage->showStage();
    QCOMPARE(calls, expectedCalls);

    stage->hideStage();
    QVERIFY(CursorShownMemory);
    QCOMPARE(calls.count(QStringLiteral("release")), held || expectedCalls.contains("release"));
    QVERIFY(!stage->displayModeChanged());
}

void TestStage::everyKeyDownIsAnInput() {
    PlayerSettings.DirectDrawUse = false;
    stage->showStage();
    QTest::keyClick(stage, Qt::Key_Space);
    QTest::keyClick(stage, Qt::Key_A);
    QTest::keyEvent(QTest::KeyAction::Press, stage, Qt::Key_Return);
    QTest::sendKeyEvent(QTest::KeyAction::Press, stage, Qt::Key_Return, QString(), Qt::NoModifier);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(stage, &repeat);
    QCOMPARE(inputs, 5);
}

void TestStage::eachLeftPressCountsOnce() {
    PlayerSettings.DirectDrawUse = false;
    stage->setStageBounds(0, 0, 640, 480);
    stage->Panel1->setGeometry(144, 120, 352, 240);
    stage->showStage();
    QVERIFY(QTest::qWaitForWindowExposed(stage));

    // Clicks come through the window, as the window system delivers them.
    QWindow* window = stage->windowHandle();
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(154, 130)); // on the movie area
    QCOMPARE(inputs, 1);
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(5, 5)); // on the black around it
    QCOMPARE(inputs, 2);
    QTest::mouseClick(window, Qt::RightButton, {}, QPoint(5, 5));
    QTest::mouseClick(window, Qt::MiddleButton, {}, QPoint(154, 130));
    QCOMPARE(inputs, 2);
    QTest::mouseDClick(window, Qt::LeftButton, {}, QPoint(160, 140));
    QCOMPARE(inputs, 3);
    // Presses elsewhere in the program are not inputs.
    other->show();
    QVERIFY(QTest::qWaitForWindowExposed(other));
    QTest::mouseClick(other->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(inputs, 3);
}

void TestStage::cursorFollowsTheMouse() {
    PlayerSettings.DirectDrawUse = false;
    stage->setStageBounds(0, 0, 640, 480);
    stage->Panel1->setGeometry(144, 120, 352, 240);
    stage->showStage();
    other->show();
    QVERIFY(QTest::qWaitForWindowExposed(other));
    QVERIFY(QGuiApplication::overrideCursor());
    QTest::mouseMove(other->windowHandle(), QPoint(10, 10));
    QVERIFY(CursorShownMemory);
    QVERIFY(!QGuiApplication::overrideCursor());
    QTest::mouseMove(stage->windowHandle(), QPoint(300, 200)); // over the movie area
    QVERIFY(!CursorShownMemory);
    QTest::mouseMove(other->windowHandle(), QPoint(20, 20));
    QVERIFY(CursorShownMemory);
    QTest::mouseMove(stage->windowHandle(), QPoint(630, 470)); // over the black
    QVERIFY(!CursorShownMemory);
    QTest::mouseMove(other->windowHandle(), QPoint(30, 30));
    QVERIFY(CursorShownMemory);
}

void TestStage::cursorMemoryKeepsOneStep() {
    SetCursorShown(false);
    SetCursorShown(false);
    QVERIFY(QGuiApplication::overrideCursor());
    SetCursorShown(true);
    QVERIFY(!QGuiApplication::overrideCursor());
    SetCursorShown(true);
    QVERIFY(!QGuiApplication::overrideCursor());
}

QTEST_MAIN(TestStage)
#include "tst_stage.moc"
