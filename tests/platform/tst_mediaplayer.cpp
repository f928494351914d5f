#include "platform/mediaplayer.h"
#include "support/fixtures.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QWidget>
#include <QtTest>

#include <memory>

namespace {

const QString NoDevice = QStringLiteral("MCI ﾃﾞﾊﾞｲｽがありません");

// A black widget like the stage's movie area.
std::unique_ptr<QWidget> blackDisplay(int width, int height) {
    auto widget = std::make_unique<QWidget>();
    QPalette black = widget->palette();
    black.setColor(QPalette::Window, Qt::black);
    widget->setPalette(black);
    widget->setAutoFillBackground(true);
    widget->resize(width, height);
    widget->show();
    return widget;
}

QString fixture(FixtureKind kind) {
    const QString path = Fixture(kind);
    if (path.isEmpty())
        qFatal("a fixture could not be made");
    return path;
}

bool near(QRgb pixel, const QColor& expected, int tolerance) {
    return std::abs(qRed(pixel) - expected.red()) <= tolerance &&
           std::abs(qGreen(pixel) - expected.green()) <= tolerance &&
           std::abs(qBlue(pixel) - expected.blue()) <= tolerance;
}

// Opens the fixture in the player showing on the display, scaled to the rectangle.
void openOn(TMediaPlayer& player, FixtureKind kind, QWidget* display, const QRect& rect) {
    player.setFileName(fixture(kind));
    player.setDisplay(display);
    player.Open();
    QCOMPARE(player.Error(), 0);
    player.setDisplayRect(rect);
}

// Plays and waits until frames painted after the start have shown the movie going on.
void playUntilPainted(TMediaPlayer& player, int frames = 3) {
    QSignalSpy painted(&player, &TMediaPlayer::framePainted);
    player.setNotify(true);
    player.Play();
    QTRY_VERIFY_WITH_TIMEOUT(painted.count() >= frames, 5000);
}

} // namespace

class TestMediaPlayer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensEachFixture_data();
    void opensEachFixture();
    void brokenFilesFailCleanly_data();
    void brokenFilesFailCleanly();
    void withoutDeviceRaises();
    void notifiesOnceAtTheEnd();
    void notifiesOnceAfterStop();
    void notifiesOnceWhenClosed();
    void notifiesOnceWhenAnotherFileOpens();
    void supersededPlayNotifiesAtOnce();
    void playWithoutNotifyIsSilent();
    void destroyedPlayerNeverNotifies();
    void twoPlayersPlayAtOnce();
    void checkerboardShowsExactBlocks_data();
    void checkerboardShowsExactBlocks();
    void solidColourFillsTheRectangle();
    void periodCodecsShowTheirPicture_data();
    void periodCodecsShowTheirPicture();
    void displayChangesWhileOpen();
};

void TestMediaPlayer::opensEachFixture_data() {
    QTest::addColumn<FixtureKind>("kind");
    QTest::addColumn<int>("tolerance");
    QTest::newRow("Motion JPEG AVI") << FixtureKind::MotionJpegAvi << 100;
    QTest::newRow("QuickTime MOV") << FixtureKind::QuickTimeMov << 100;
    QTest::newRow("MPEG-2 program stream") << FixtureKind::MpegProgram << 250;
    QTest::newRow("MPEG-1") << FixtureKind::Mpeg1Video << 250;
    QTest::newRow("Cinepak") << FixtureKind::Cinepak << 100;
    QTest::newRow("Microsoft Video 1") << FixtureKind::MsVideo1 << 100;
    QTest::newRow("Sorenson Video") << FixtureKind::SorensonVideo << 100;
    QTest::newRow("QuickTime RLE") << FixtureKind::QuickTimeRle << 100;
    QTest::newRow("checkerboard") << FixtureKind::Checkerboard << 100;
    QTest::newRow("solid colour") << FixtureKind::SolidColour << 100;
    QTest::newRow("audio only") << FixtureKind::AudioOnly << 100;
    QTest::newRow("video only") << FixtureKind::VideoOnly << 100;
}

void TestMediaPlayer::opensEachFixture() {
    QFETCH(FixtureKind, kind);
    QFETCH(int, tolerance);
    const FixtureFacts facts = FixtureInfo(kind);
    TMediaPlayer player;
    player.setFileName(fixture(kind));
    player.Open();
    QCOMPARE(player.Error(), 0);
    QCOMPARE(player.ErrorMessage(), QString());
    QVERIFY(player.isOpen());
    QCOMPARE(player.DisplayRect(), QRect(0, 0, facts.width, facts.height));
    player.setTimeFormat(TMediaPlayer::tfMilliseconds);
    const int32_t length = player.Length();
    QVERIFY2(std::abs(length - facts.lengthMs) <= tolerance, qPrintable(QString::number(length)));
    player.Close();
    QVERIFY(!player.isOpen());
    QCOMPARE(player.Error(), 0);
}

void TestMediaPlayer::brokenFilesFailCleanly_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("mustFail");
    QTest::newRow("missing file") << QStringLiteral("/nonexistent/movie.avi") << true;
    QTest::newRow("not a movie") << fixture(FixtureKind::NotAMovie) << true;
    QTest::newRow("truncated AVI") << fixture(FixtureKind::TruncatedAvi) << false;
    QTest::newRow("truncated MPEG") << fixture(FixtureKind::TruncatedMpeg) << false;
}

void TestMediaPlayer::brokenFilesFailCleanly() {
    QFETCH(QString, path);
    QFETCH(bool, mustFail);
    TMediaPlayer player;
    player.setFileName(path);
    QElapsedTimer clock;
    clock.start();
    player.Open();
    QVERIFY(clock.elapsed() < 11000);
    if (mustFail)
        QVERIFY(player.Error() != 0);
    if (player.Error() != 0) {
        // GStreamer's own text, not the fallback.
        QVERIFY(!player.ErrorMessage().isEmpty());
        QVERIFY(player.ErrorMessage() != QStringLiteral("原因不明のｴﾗｰ"));
        QVERIFY(!player.isOpen());
        QVERIFY_THROWS_EXCEPTION(MediaPlayerError, player.Play());
        return;
    }
    // Opened after all: whatever is there plays, and the play ends with one notification.
    QVERIFY(player.Length() >= 0);
    QSignalSpy notified(&player, &TMediaPlayer::OnNotify);
    player.setNotify(true);
    player.Play();
    QTRY_COMPARE_WITH_TIMEOUT(notified.count(), 1, 10000);
    player.Close();
    QTest::qWait(50);
    QCOMPARE(notified.count(), 1);
}

void TestMediaPlayer::withoutDeviceRaises() {
    TMediaPlayer player;
    for (int round = 0; round < 2; ++round) {
        try {
            player.Play();
            QFAIL("Play did not raise");
        } catch (const MediaPlayerError& e) {
            QCOMPARE(QString::fromUtf8(e.what()), NoDevice);
        }
        try {
            player.Stop();
            QFAIL("Stop did not raise");
        } catch (const MediaPlayerError& e) {
            QCOMPARE(QString::fromUtf8(e.what()), NoDevice);
        }
        try {
            player.Length();
            QFAIL("Length did not raise");
        } catch (const MediaPlayerError& e) {
            QCOMPARE(QString::fromUtf8(e.what()), NoDevice);
        }
        player.Close(); // nothing to close: no error
        QCOMPARE(player.Error(), 0);
        QCOMPARE(player.DisplayRect(), QRect(0, 0, 0, 0));
        // Again after a device was opened and closed.
        player.setFileName(fixture(FixtureKind::VideoOnly));
        player.Open();
        QCOMPARE(player.Error(), 0);
        player.Close();
    }
}

void TestMediaPlayer::notifiesOnceAtTheEnd() {
    TMediaPlayer player;
    player.setFileName(fixture(FixtureKind::MotionJpegAvi));
    player.Open();
    QCOMPARE(player.Error(), 0);
    QSignalSpy notified(&player, &TMediaPlayer::OnNotify);
    player.setWait(false);
    player.setNotify(true);
    QElapsedTimer clock;
    clock.start();
    player.Play();
    QVERIFY(clock.elapsed() < 500); // returns at once
    QCOMPARE(notified.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(notified.count(), 1, 6000);
    // The end comes when the movie has played, by the clock, not when it was decoded.
    QVERIFY2(clock.elapsed() >= 1800, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(notified.at(0).at(0).value<quint64>(), player.lastPlay());
    QVERIFY(player.lastPlay() != 0);
    QTest::qWait(300);
    QCOMPARE(notified.count(), 1);
    // At the end, without rewind, another play ends at once.
    player.Play();
    QTRY_COMPARE_WITH_TIMEOUT(notified.count(), 2, 1000);
    QCOMPARE(notified.at(1).at(0).value<quint64>(), player.lastPlay());
}

void TestMediaPlayer::notifiesOnceAfterStop() {
    TMediaPlayer player;
    player.setFileName(fixture(FixtureKind::MotionJpegAvi));
    player.Open();
    QSignalSpy notified(&player, &TMediaPlayer::OnNotify);
    player.setNotify(true);
    player.Play();
    const quint64 play = player.lastPlay();
    QTest::qWait(300);
    player.Stop();
    QCOMPARE(notified.count(), 0); // queued, not emitted inside Stop
    QTRY_COMPARE(notified.count(), 1);
    QCOMPARE(notified.at(0).at(0).value<quint64>(), play);
    // Stopped: the end of the file never comes, so nothing more.
    QTest::qWait(2200);
    QCOMPARE(notified.count(), 1);
    // Play goes on from where it stopped and ends with its own notification.
    player.Play();
    QTRY_COMPARE_WITH_TIMEOUT(notified.count(), 2, 4000);
    QVERIFY(notified.at(1).at(0).value<quint64>() != play);
}

void TestMediaPlayer::notifiesOnceWhenClosed() {
    TMediaPlayer player;
    player.setFileName(fixture(FixtureKind::MotionJpegAvi));
    player.Open();
    QSignalSpy notified(&player, &TMediaPlayer::OnNotify);
    player.setNotify(true);
    player.Play();
    QTest::qWait(200);
    player.Close();
    QTRY_COMPARE(notified.count(), 1);
    QCOMPARE(notified.at(0).at(0).value<quint64>(), player.lastPlay());
    QTest::qWait(2200);
    QCOMPARE(notified.count(), 1);
}

void TestMediaPlayer::notifiesOnceWhenAnotherFileOpens() {
    TMediaPlayer player;
    player.setFileName(fixture(FixtureKind::MotionJpegAvi));
    player.Open();
    QSignalSpy notified(&player, &TMediaPlayer::OnNotify);
    player.setNotify(true);
    player.Play();
    const quint64 first = player.lastPlay();
    QTest::qWait(200);
    player.setFileName(fixture(FixtureKind::VideoOnly));
    player.Open();
    QCOMPARE(player.Error(), 0);
    QTRY_COMPARE(notified.count(), 1);
    QCOMPARE(notified.at(0).at(0).value<quint64>(), first);
    QTest::qWait(2200);
    QCOMPARE(notified.count(), 1);
}

void TestMediaPlayer::supersededPlayNotifiesAtOnce() {
    TMediaPlayer player;
    player.setFileName(fixture(FixtureKind::MotionJpegAvi));
    player.Open();
    QSignalSpy notified(&player, &TMediaPlayer::OnNotify);
    player.Play();
    const quint64 first = player.lastPlay();
    player.Play();
    const quint64 second = player.lastPlay();
    QVERIFY(second != first);
    QTRY_COMPARE(notified.count(), 1);
    QCOMPARE(notified.at(0).at(0).value<quint64>(), first);
    QTRY_COMPARE_WITH_TIMEOUT(notified.count(), 2, 6000);
    QCOMPARE(notified.at(1).at(0).value<quint64>(), second);
}

void TestMediaPlayer::playWithoutNotifyIsSilent() {
    TMediaPlayer player;
    player.setFileName(fixture(FixtureKind::Checkerboard)); // 1 s
    player.Open();
    QSignalSpy notified(&player, &TMediaPlayer::OnNotify);
    player.setNotify(false);
    player.Play();
    QCOMPARE(player.lastPlay(), quint64(0));
    QTest::qWait(1500);
    player.Stop();
    player.Close();
    QTest::qWait(50);
    QCOMPARE(notified.count(), 0);
}

void TestMediaPlayer::destroyedPlayerNeverNotifies() {
    QObject receiver;
    int calls = 0;
    {
        TMediaPlayer player;
        QObject::connect(&player, &TMediaPlayer::OnNotify, &receiver, [&calls] { ++calls; });
        player.setFileName(fixture(FixtureKind::MotionJpegAvi));
        player.Open();
        player.setNotify(true);
        player.Play();
        QTest::qWait(100);
    }
    QTest::qWait(100);
    QCOMPARE(calls, 0);
}

void TestMediaPlayer::twoPlayersPlayAtOnce() {
    TMediaPlayer first;
    TMediaPlayer second;
    auto display = blackDisplay(320, 240);
    openOn(first, FixtureKind::MotionJpegAvi, display.get(), QRect(0, 0, 160, 120));
    second.setFileName(fixture(FixtureKind::AudioOnly));
    second.Open();
    QCOMPARE(second.Error(), 0);
    QSignalSpy firstDone(&first, &TMediaPlayer::OnNotify);
    QSignalSpy secondDone(&second, &TMediaPlayer::OnNotify);
    // A probe of a third file while both play.
    first.Play();
    second.Play();
    TMediaPlayer probe;
    probe.setFileName(fixture(FixtureKind::QuickTimeMov));
    probe.Open();
    QCOMPARE(probe.Error(), 0);
    QCOMPARE(probe.DisplayRect(), QRect(0, 0, 176, 144));
    probe.Close();
    QTRY_COMPARE_WITH_TIMEOUT(firstDone.count(), 1, 6000);
    QTRY_COMPARE_WITH_TIMEOUT(secondDone.count(), 1, 6000);
}

void TestMediaPlayer::checkerboardShowsExactBlocks_data() {
    QTest::addColumn<int>("factor");
    QTest::newRow("factor 4") << 4;
    QTest::newRow("factor 3") << 3;
    QTest::newRow("factor 1") << 1;
}

void TestMediaPlayer::checkerboardShowsExactBlocks() {
    QFETCH(int, factor);
    const int width = 160 * factor;
    const int height = 120 * factor;
    auto display = blackDisplay(640, 480);
    TMediaPlayer player;
    openOn(player, FixtureKind::Checkerboard, display.get(), QRect(0, 0, width, height));
    playUntilPainted(player);
    const QImage image = display->grab().toImage().convertToFormat(QImage::Format_RGB32);
    player.Close();
    QCOMPARE(image.size(), QSize(640, 480));
    const QRgb colours[2] = {FixtureCheckerColours[0].rgb(), FixtureCheckerColours[1].rgb()};
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const QRgb expected =
                x < width && y < height ? colours[(x / factor + y / factor) % 2] : qRgb(0, 0, 0);
            if (image.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel %1, %2 is %3, not %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(image.pixel(x, y), 8, 16)
                                     .arg(expected, 8, 16)));
        }
    }
}

void TestMediaPlayer::solidColourFillsTheRectangle() {
    auto display = blackDisplay(320, 240);
    TMediaPlayer player;
    // 160 x 120 into 200 x 150: not a whole multiple, drawn smoothly.
    const QRect rect(50, 40, 200, 150);
    openOn(player, FixtureKind::SolidColour, display.get(), rect);
    QCOMPARE(player.DisplayRect(), rect);
    playUntilPainted(player);
    const QImage image = display->grab().toImage().convertToFormat(QImage::Format_RGB32);
    player.Close();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (rect.contains(x, y)) {
                if (!near(pixel, FixtureSolidColour, 16))
                    QFAIL(qPrintable(QStringLiteral("inside: pixel %1, %2 is %3")
                                         .arg(x)
                                         .arg(y)
                                         .arg(pixel, 8, 16)));
            } else if (pixel != qRgb(0, 0, 0)) {
                QFAIL(qPrintable(
                    QStringLiteral("outside: pixel %1, %2 is %3").arg(x).arg(y).arg(pixel, 8, 16)));
            }
        }
    }
}

void TestMediaPlayer::periodCodecsShowTheirPicture_data() {
    QTest::addColumn<FixtureKind>("kind");
    QTest::newRow("Motion JPEG AVI") << FixtureKind::MotionJpegAvi;
    QTest::newRow("QuickTime Photo-JPEG") << FixtureKind::QuickTimeMov;
    QTest::newRow("MPEG-2 program stream") << FixtureKind::MpegProgram;
    QTest::newRow("MPEG-1 with layer II") << FixtureKind::Mpeg1Video;
    QTest::newRow("Cinepak") << FixtureKind::Cinepak;
    QTest::newRow("Microsoft Video 1") << FixtureKind::MsVideo1;
    QTest::newRow("Sorenson Video") << FixtureKind::SorensonVideo;
    QTest::newRow("QuickTime RLE") << FixtureKind::QuickTimeRle;
}

void TestMediaPlayer::periodCodecsShowTheirPicture() {
    QFETCH(FixtureKind, kind);
    const FixtureFacts facts = FixtureInfo(kind);
    const QRect rect(0, 0, facts.width * 2, facts.height * 2);
    auto display = blackDisplay(rect.width(), rect.height());
    TMediaPlayer player;
    openOn(player, kind, display.get(), rect);
    playUntilPainted(player, 4);
    const QImage image = display->grab().toImage().convertToFormat(QImage::Format_RGB32);
    player.Close();
    // The seven bars across the top: which of red, green and blue each one has.
    static const bool bars[7][3] = {{1, 1, 1}, {1, 1, 0}, {0, 1, 1}, {0, 1, 0},
                                    {1, 0, 1}, {1, 0, 0}, {0, 0, 1}};
    for (int bar = 0; bar < 7; ++bar) {
        const QRgb pixel = image.pixel((2 * bar + 1) * rect.width() / 14, rect.height() / 4);
        const int channels[3] = {qRed(pixel), qGreen(pixel), qBlue(pixel)};
        for (int c = 0; c < 3; ++c) {
            const bool ok = bars[bar][c] ? channels[c] >= 130 : channels[c] <= 80;
            if (!ok)
                QFAIL(qPrintable(
                    QStringLiteral("bar %1 shows %2").arg(bar).arg(pixel, 8, 16)));
        }
    }
}

void TestMediaPlayer::displayChangesWhileOpen() {
    auto first = blackDisplay(160, 120);
    auto second = blackDisplay(160, 120);
    TMediaPlayer player;
    openOn(player, FixtureKind::Checkerboard, first.get(), QRect(0, 0, 160, 120));
    playUntilPainted(player);
    player.setDisplay(second.get());
    QSignalSpy painted(&player, &TMediaPlayer::framePainted);
    QTRY_VERIFY(painted.count() >= 2);
    const QImage shown = second->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.pixel(0, 0), FixtureCheckerColours[0].rgb());
    // The first display no longer shows the movie.
    const QImage left = first->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(left.pixel(0, 0), qRgb(0, 0, 0));
    player.Close();
    const QImage closed = second->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(closed.pixel(0, 0), qRgb(0, 0, 0));
}

QTEST_MAIN(TestMediaPlayer)
#include "tst_mediaplayer.moc"
