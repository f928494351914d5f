// The blank's hold on a real X server: while the stage is held, timers and painting still run, and
// a key or click given meanwhile waits in the queue for the next movie, which it then stops, and
// with it the run.

#include "app/hooks.h"
#include "app/processflags.h"
#include "app/settingsstore.h"
#include "platform/mediaplayer.h"
#include "playback/blackwin.h"
#include "playback/sequencer.h"
#include "playlist/movielist.h"
#include "playlist/playplaylist.h"
#include "support/fixtures.h"
#include "support/modal.h"
#include "support/playlistwindow.h"
#include "support/testenv.h"
#include "support/xserver.h"

#include <QApplication>
#include <QtTest>

namespace {

enum class Input { Key, Click };

// Sends a key press and release, or a left button press and release, to the X window from a
// connection of its own, as the window system delivers what the user does.
bool sendInput(const QString& display, unsigned long window, Input input);

PlaylistItem movieRow(const QString& path) {
    return NewMovieItem(path, 2000, QSize(160, 120), QSize(160, 120), QPoint(0, 0), 50, 50);
}

} // namespace

Q_DECLARE_METATYPE(Input)

class TestPlayPlaylistX11 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void inputDuringTheHoldStopsTheNextMovie_data();
    void inputDuringTheHoldStopsTheNextMovie();

private:
    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<TMediaPlayer> player_;
    std::unique_ptr<PlaybackSequencer> sequencer_;
    QStringList plays_;
};

void TestPlayPlaylistX11::init() {
    env_ = std::make_unique<TestEnvironment>();
    PlayerSettings.WinSizeX = 320;
    PlayerSettings.WinSizeY = 240;
    PlayerSettings.DirectDrawUse = false;
    BlackWin = new TBlackWin;
    MovieList = new TMovieList;
    player_ = std::make_unique<TMediaPlayer>();
    sequencer_ = std::make_unique<PlaybackSequencer>(*player_, *BlackWin);
    plays_.clear();
    ::MoviePlay = [this](const QString& path) {
        plays_ << path;
        sequencer_->MoviePlay(path);
    };
}

void TestPlayPlaylistX11::cleanup() {
    ::MoviePlay = nullptr;
    sequencer_.reset();
    player_.reset();
    delete MovieList;
    delete BlackWin;
    MovieList = nullptr;
    BlackWin = nullptr;
    ClearModalActions();
    env_.reset();
}

void TestPlayPlaylistX11::inputDuringTheHoldStopsTheNextMovie_data() {
    QTest::addColumn<Input>("input");
    QTest::newRow("key") << Input::Key;
    QTest::newRow("left click") << Input::Click;
}

void TestPlayPlaylistX11::inputDuringTheHoldStopsTheNextMovie() {
    QFETCH(Input, input);
    const QString first = Fixture(FixtureKind::MotionJpegAvi);
    const QString second = Fixture(FixtureKind::VideoOnly);
    QVERIFY(!first.isEmpty() && !second.isEmpty());
    MovieList->replaceRows({BlankRow(2000), movieRow(first), movieRow(second)});

    // Each start/stop input, noted with the movies handed over by then.
    QList<qsizetype> inputsAfterPlays;
    const std::function<void()> startStop = BlackWin->onStartStop;
    BlackWin->onStartStop = [&] {
        inputsAfterPlays << plays_.size();
        startStop();
    };
    // Timers keep running during the hold; one of them gives the input half-way through.
    int ticksInHold = 0;
    bool sent = false;
    QTimer ticker;
    ticker.setInterval(50);
    connect(&ticker, &QTimer::timeout, this, [&] {
        if (!plays_.isEmpty())
            return;
        ++ticksInHold;
        if (ticksInHold == 10) {
            sent = sendInput(qEnvironmentVariable("DISPLAY"), BlackWin->winId(), input);
            QVERIFY(BlackWin->isVisible());
        }
    });
    ticker.start();
    PlayPlaylist();

    QVERIFY(sent);
    QVERIFY2(ticksInHold >= 20, qPrintable(QString::number(ticksInHold)));
    // Not handled during the hold; handled in the first movie's wait, where it stops the movie
    // and ends the run.
    QCOMPARE(inputsAfterPlays, QList<qsizetype>{1});
    QCOMPARE(plays_, QStringList{first});
    QVERIFY(!BlackWin->isVisible());
    QCOMPARE(PlaybackState, Idle);
}

int main(int argc, char** argv) {
    std::unique_ptr<TestXServer> server;
    {
        QCoreApplication starter(argc, argv);
        QString failure;
        server = TestXServer::startXvfb(
            {QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1024x768x24")},
            &failure);
        if (!server) {
            qWarning("%s", qPrintable(failure));
            return 1;
        }
    }
    qputenv("DISPLAY", server->display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    TestPlayPlaylistX11 test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_playplaylist_x11.moc"

// Xlib last: its macros would clash with the names above.
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace {

bool sendInput(const QString& display, unsigned long window, Input input) {
    ::Display* connection = XOpenDisplay(display.toLocal8Bit().constData());
    if (!connection)
        return false;
    bool ok = true;
    for (const bool press : {true, false}) {
        XEvent event{};
        long mask = 0;
        if (input == Input::Key) {
            XKeyEvent& key = event.xkey;
            key.type = press ? KeyPress : KeyRelease;
            key.keycode = XKeysymToKeycode(connection, XK_space);
            mask = press ? KeyPressMask : KeyReleaseMask;
        } else {
            XButtonEvent& button = event.xbutton;
            button.type = press ? ButtonPress : ButtonRelease;
            button.button = Button1;
            button.x = 10;
            button.y = 10;
            mask = press ? ButtonPressMask : ButtonReleaseMask;
        }
        event.xany.display = connection;
        event.xany.window = window;
        event.xkey.root = DefaultRootWindow(connection);
        event.xkey.same_screen = True;
        event.xkey.time = CurrentTime;
        ok = XSendEvent(connection, window, False, mask, &event) != 0 && ok;
    }
    XSync(connection, False);
    XCloseDisplay(connection);
    return ok;
}

} // namespace
