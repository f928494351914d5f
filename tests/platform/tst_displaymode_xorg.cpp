// The display-mode switch on a real X server that can switch: Xorg with the dummy video driver,
// started by this test. The test itself runs on it through the xcb platform; the programs it
// ends in various ways are this binary again, as the stage program.

#include "app/settingsstore.h"
#include "platform/xrandrdisplaymode.h"
#include "platform/xrandrguard.h"
#include "playback/blackwin.h"
#include "support/fixtures.h"
#include "support/modal.h"
#include "support/stageprogram.h"
#include "support/testenv.h"
#include "support/xserver.h"

#include <QApplication>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <csignal>

namespace {

QString display() {
    return qEnvironmentVariable("DISPLAY");
}

// The outputs that are on, as "NAME WxH+X+Y", in name order.
QString outputsOf(const ReportedDisplay& reported) {
    QStringList parts;
    for (auto it = reported.outputs.cbegin(); it != reported.outputs.cend(); ++it) {
        const QRect& r = it.value();
        parts << QStringLiteral("%1 %2x%3+%4+%5")
                     .arg(it.key())
                     .arg(r.width())
                     .arg(r.height())
                     .arg(r.x())
                     .arg(r.y());
    }
    return parts.join(QStringLiteral("; "));
}

// The desktop as this process's Qt sees it: all its screens together.
QSize qtDesktop() {
    QRect all;
    for (QScreen* screen : QGuiApplication::screens())
        all |= screen->geometry();
    return all.size();
}

// Waits until this process's Qt has taken in a desktop of that size.
bool qtSeesScreen(QSize size) {
    while (qtDesktop() != size) {
        QEventLoop loop;
        QTimer::singleShot(30000, &loop, [&loop] { loop.exit(1); });
        QObject::connect(qApp, &QGuiApplication::screenAdded, &loop, &QEventLoop::quit);
        QObject::connect(qApp, &QGuiApplication::screenRemoved, &loop, &QEventLoop::quit);
        for (QScreen* screen : QGuiApplication::screens())
            QObject::connect(screen, &QScreen::geometryChanged, &loop, &QEventLoop::quit);
        if (loop.exec() != 0)
            return false;
    }
    return true;
}

ReportedDisplay reportNow() {
    QString failure;
    const ReportedDisplay reported = ReportDisplay(display(), &failure);
    if (!failure.isEmpty())
        qWarning("%s", qPrintable(failure));
    return reported;
}

} // namespace

class TestDisplayModeXorg : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void stageSwitchesTheOutputItStartsOn_data();
    void stageSwitchesTheOutputItStartsOn();
    void switchTakesOnlyModesTheOutputLists_data();
    void switchTakesOnlyModesTheOutputLists();
    void releaseGivesBackTheConfigurationBeforeTheFirstSwitch();
    void displayComesBackHoweverTheProgramEnds_data();
    void displayComesBackHoweverTheProgramEnds();
    void kestruneGivesTheDisplayBackWhenKilled_data();
    void kestruneGivesTheDisplayBackWhenKilled();

private:
    void useSecondOutput();

    ReportedDisplay initial_;
};

void TestDisplayModeXorg::initTestCase() {
    initial_ = reportNow();
    QCOMPARE(outputsOf(initial_), QStringLiteral("DUMMY0 1024x768+0+0"));
    QCOMPARE(initial_.screen, QSize(1024, 768));
}

void TestDisplayModeXorg::init() {
    ResetProcessState();
    // The changes of earlier tests reach Qt first.
    QVERIFY(qtSeesScreen(initial_.screen));
}

void TestDisplayModeXorg::cleanup() {
    ClearModalActions();
    // Every test starts from the server's own configuration, whatever the last one left.
    const QSize mm = initial_.screenMm;
    RunXrandr(display(),
              {QStringLiteral("--output"), QStringLiteral("DUMMY1"), QStringLiteral("--off"),
               QStringLiteral("--output"), QStringLiteral("DUMMY0"), QStringLiteral("--mode"),
               QStringLiteral("1024x768"), QStringLiteral("--pos"), QStringLiteral("0x0"),
               QStringLiteral("--fb"), QStringLiteral("1024x768"), QStringLiteral("--fbmm"),
               QStringLiteral("%1x%2").arg(mm.width()).arg(mm.height())});
}

// A second monitor right of the first, at 1024 x 768 and offering 640 x 480 as well.
void TestDisplayModeXorg::useSecondOutput() {
    QVERIFY(RunXrandr(display(), {QStringLiteral("--addmode"), QStringLiteral("DUMMY1"),
                                  QStringLiteral("1024x768")}));
    QVERIFY(RunXrandr(display(), {QStringLiteral("--addmode"), QStringLiteral("DUMMY1"),
                                  QStringLiteral("640x480")}));
    QVERIFY(RunXrandr(display(), {QStringLiteral("--output"), QStringLiteral("DUMMY1"),
                                  QStringLiteral("--mode"), QStringLiteral("1024x768"),
                                  QStringLiteral("--pos"), QStringLiteral("1024x0")}));
}

void TestDisplayModeXorg::stageSwitchesTheOutputItStartsOn_data() {
    QTest::addColumn<bool>("secondOutput");
    QTest::addColumn<QRect>("stage");
    QTest::addColumn<bool>("directDrawUse");
    QTest::addColumn<bool>("play32");
    // The outputs while the stage is shown; empty when nothing may change.
    QTest::addColumn<QString>("outputs");
    QTest::addColumn<QSize>("screen");

    const QRect vga(0, 0, 640, 480);
    QTest::newRow("640 x 480") << false << vga << true << false
                               << QStringLiteral("DUMMY0 640x480+0+0") << QSize(640, 480);
    QTest::newRow("640 x 480, 32-bit colour first")
        << false << vga << true << true << QStringLiteral("DUMMY0 640x480+0+0") << QSize(640, 480);
    QTest::newRow("320 x 240") << false << QRect(0, 0, 320, 240) << true << false
                               << QStringLiteral("DUMMY0 320x240+0+0") << QSize(320, 240);
    QTest::newRow("corner inside the output")
        << false << QRect(200, 100, 640, 480) << true << false
        << QStringLiteral("DUMMY0 640x480+0+0") << QSize(640, 480);
    QTest::newRow("800 x 600 asks for nothing")
        << false << QRect(0, 0, 800, 600) << true << false << QString() << QSize();
    QTest::newRow("640 x 400 asks for nothing, though listed")
        << false << QRect(0, 0, 640, 400) << true << false << QString() << QSize();
    QTest::newRow("DirectDrawUse off") << false << vga << false << false << QString() << QSize();
    QTest::newRow("second output: only it switches")
        << true << QRect(1024, 0, 640, 480) << true << false
        << QStringLiteral("DUMMY0 1024x768+0+0; DUMMY1 640x480+1024+0") << QSize(1664, 768);
    QTest::newRow("first output: the screen keeps room for the second")
        << true << vga << true << false
        << QStringLiteral("DUMMY0 640x480+0+0; DUMMY1 1024x768+1024+0") << QSize(2048, 768);
}

void TestDisplayModeXorg::stageSwitchesTheOutputItStartsOn() {
    QFETCH(bool, secondOutput);
    QFETCH(QRect, stage);
    QFETCH(bool, directDrawUse);
    QFETCH(bool, play32);
    QFETCH(QString, outputs);
    QFETCH(QSize, screen);

    if (secondOutput)
        useSecondOutput();
    const ReportedDisplay before = reportNow();
    PlayerSettings.DirectDrawUse = directDrawUse;
    PlayerSettings.Play32 = play32;
    PlayerSettings.WinSizeX = stage.width();
    PlayerSettings.WinSizeY = stage.height();

    TBlackWin win;
    QStringList unexpected;
    PressOnNextModal(QStringLiteral("OK"), &unexpected);
    win.setStageBounds(stage.x(), stage.y(), stage.width(), stage.height());
    win.showStage();
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(QLatin1Char('|'))));

    const ReportedDisplay during = reportNow();
    if (outputs.isEmpty()) {
        QCOMPARE(during, before);
        QVERIFY(!win.displayModeChanged());
    } else {
        QCOMPARE(outputsOf(during), outputs);
        QCOMPARE(during.screen, screen);
        QVERIFY(win.displayModeChanged());
        QVERIFY(DisplayGuardOf(QCoreApplication::applicationPid()) != 0);
        // Once Qt has taken in the new screen, the stage still covers its region, on top.
        QVERIFY(qtSeesScreen(screen));
        QCOMPARE(win.geometry(), stage);
        const ServerWindow onServer = InspectWindow(display(), win.winId());
        QCOMPARE(onServer.rect, stage);
        QVERIFY(onServer.viewable);
        QVERIFY(onServer.topmost);
    }

    win.hideStage();
    QCOMPARE(reportNow(), before);
    QVERIFY(!win.displayModeChanged());
    // The watchdog went with the switch.
    QCOMPARE(DisplayGuardOf(QCoreApplication::applicationPid()), 0);
}

void TestDisplayModeXorg::switchTakesOnlyModesTheOutputLists_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("bitsPerPixel");
    QTest::addColumn<QString>("outputs"); // empty when the request must fail

    QTest::newRow("640 x 480") << QSize(640, 480) << 32 << QStringLiteral("DUMMY0 640x480+0+0");
    QTest::newRow("320 x 240") << QSize(320, 240) << 32 << QStringLiteral("DUMMY0 320x240+0+0");
    QTest::newRow("the current mode")
        << QSize(1024, 768) << 32 << QStringLiteral("DUMMY0 1024x768+0+0");
    QTest::newRow("24-bit pixels: the screen has 32") << QSize(640, 480) << 24 << QString();
    QTest::newRow("16-bit pixels") << QSize(640, 480) << 16 << QString();
    QTest::newRow("700 x 500 is not listed") << QSize(700, 500) << 32 << QString();
    QTest::newRow("648 x 480 is not listed") << QSize(648, 480) << 32 << QString();
    QTest::newRow("480 x 640 is not listed") << QSize(480, 640) << 32 << QString();
}

void TestDisplayModeXorg::switchTakesOnlyModesTheOutputLists() {
    QFETCH(QSize, size);
    QFETCH(int, bitsPerPixel);
    QFETCH(QString, outputs);

    QWidget stage;
    stage.setGeometry(0, 0, size.width(), size.height());
    {
        std::unique_ptr<DisplayModeDevice> device = XRandrDisplayMode::create();
        QVERIFY(device);
        QVERIFY(device->setExclusiveLevel(&stage));
        const bool switched = device->setDisplayMode(size.width(), size.height(), bitsPerPixel);
        QCOMPARE(switched, !outputs.isEmpty());
        const ReportedDisplay during = reportNow();
        QCOMPARE(outputsOf(during), outputs.isEmpty() ? outputsOf(initial_) : outputs);
        if (switched)
            QCOMPARE(during.screen, size);
    }
    QCOMPARE(reportNow(), initial_);
}

void TestDisplayModeXorg::releaseGivesBackTheConfigurationBeforeTheFirstSwitch() {
    QWidget stage;
    stage.setGeometry(0, 0, 640, 480);
    {
        std::unique_ptr<DisplayModeDevice> device = XRandrDisplayMode::create();
        QVERIFY(device);
        QVERIFY(device->setExclusiveLevel(&stage));
        QVERIFY(device->setDisplayMode(640, 480, 32));
        QVERIFY(device->setDisplayMode(320, 240, 32));
        QCOMPARE(outputsOf(reportNow()), QStringLiteral("DUMMY0 320x240+0+0"));
    }
    QCOMPARE(reportNow(), initial_);
}

void TestDisplayModeXorg::displayComesBackHoweverTheProgramEnds_data() {
    QTest::addColumn<int>("signal");
    // The signal goes to the program's whole process group, as from its terminal.
    QTest::addColumn<bool>("toGroup");
    QTest::addColumn<QByteArray>("command");

    QTest::newRow("SIGTERM") << SIGTERM << false << QByteArray();
    QTest::newRow("SIGINT") << SIGINT << false << QByteArray();
    QTest::newRow("SIGKILL") << SIGKILL << false << QByteArray();
    QTest::newRow("crash (SIGSEGV)") << SIGSEGV << false << QByteArray();
    QTest::newRow("abort") << SIGABRT << false << QByteArray();
    QTest::newRow("Ctrl+C in its terminal") << SIGINT << true << QByteArray();
    QTest::newRow("Ctrl+\\ in its terminal") << SIGQUIT << true << QByteArray();
    QTest::newRow("its terminal closed") << SIGHUP << true << QByteArray();
    QTest::newRow("exit() without releasing") << 0 << false << QByteArray("exit");
    QTest::newRow("normal end") << 0 << false << QByteArray("quit");
}

void TestDisplayModeXorg::displayComesBackHoweverTheProgramEnds() {
    QFETCH(int, signal);
    QFETCH(bool, toGroup);
    QFETCH(QByteArray, command);

    TestEnvironment env;
    env.writeSettings("[General]\nWinSizeX=640\nWinSizeY=480\nDirectDrawUse=1\n");
    StageProgram program;
    QString failure;
    QVERIFY2(program.start(display(), env.configHome(), &failure), qPrintable(failure));
    QVERIFY(program.firstReport().value(QStringLiteral("changed")).toBool());
    QCOMPARE(outputsOf(reportNow()), QStringLiteral("DUMMY0 640x480+0+0"));
    const qint64 guard = DisplayGuardOf(program.pid());
    QVERIFY(guard != 0);

    const auto pid = static_cast<pid_t>(program.pid());
    if (signal != 0)
        QCOMPARE(::kill(toGroup ? -pid : pid, signal), 0);
    else
        program.send(command);
    QVERIFY(program.waitForEnd());
    QVERIFY2(WaitForProcessEnd(guard), "the watchdog outlived its work");
    QCOMPARE(reportNow(), initial_);
}

void TestDisplayModeXorg::kestruneGivesTheDisplayBackWhenKilled_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGKILL") << SIGKILL;
}

// The program itself, with a movie cued on the stage until a key is pressed.
void TestDisplayModeXorg::kestruneGivesTheDisplayBackWhenKilled() {
    QFETCH(int, signal);

    const QString movie = Fixture(FixtureKind::MotionJpegAvi);
    QVERIFY(!movie.isEmpty());
    TestEnvironment env;
    env.writeSettings("[General]\nWinSizeX=640\nWinSizeY=480\nDirectDrawUse=1\nMovieAuto=0\n"
                      "KeyWait=1\nErrorFlag=31\n");
    StageProgram program;
    QVERIFY(program.startKestrune(display(), env.configHome(), {movie}));
    // The screen as Qt sees it here tells when the program has switched.
    QVERIFY(qtSeesScreen(QSize(640, 480)));
    const qint64 guard = DisplayGuardOf(program.pid());
    QVERIFY(guard != 0);

    QCOMPARE(::kill(static_cast<pid_t>(program.pid()), signal), 0);
    QVERIFY(program.waitForEnd());
    QVERIFY2(WaitForProcessEnd(guard), "the watchdog outlived its work");
    QCOMPARE(reportNow(), initial_);
}

int main(int argc, char** argv) {
    if (IsStageProgram(argc, argv))
        return RunStageProgram(argc, argv);
    QString failure;
    std::unique_ptr<TestXServer> server = TestXServer::startXorgDummy(&failure);
    if (!server) {
        qCritical("%s", qPrintable(failure));
        return 1;
    }
    // This process only: the test runs on the server through the xcb platform.
    qputenv("DISPLAY", server->display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    AdoptOrphans();
    QApplication app(argc, argv);
    DisplayGuardProgram = QStringLiteral(KESTRUNE_BUILD_DIR "/kestrune-displayguard");
    TestDisplayModeXorg test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_displaymode_xorg.moc"
