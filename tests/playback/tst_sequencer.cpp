#include "app/hooks.h"
#include "app/processflags.h"
#include "app/settingsstore.h"
#include "platform/mediaplayer.h"
#include "playback/blackwin.h"
#include "playback/sequencer.h"
#include "support/fixtures.h"
#include "support/modal.h"
#include "support/testenv.h"

#include <QWindow>
#include <QtTest>

namespace {

// Counts how often a widget is shown.
class ShowCounter : public QObject {
public:
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            ++shows;
        return false;
    }
};

bool near(const QColor& a, const QColor& b, int tolerance = 24) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

class TestSequencer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void automaticPlacementFillsTheStage_data();
    void automaticPlacementFillsTheStage();
    void endOfPlayReturnsToIdleAndHidesTheStage();
    void keyWaitCuesUntilAKey();
    void afterKeyHoldsTheStageUntilAKey();
    void keyOrClickStopsPlay_data();
    void keyOrClickStopsPlay();
    void secondMovieReplacesThePlayingOne();
    void movieThatCannotBeOpened_data();
    void movieThatCannotBeOpened();
    void moreItemsKeepTheStageUp();

private:
    void play(const QString& path);
    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<TBlackWin> stage;
    std::unique_ptr<TMediaPlayer> player;
    std::unique_ptr<PlaybackSequencer> sequencer;
    ShowCounter stageShows;
    int analysesFinished = 0;
};

void TestSequencer::init() {
    ClearModalActions();
    env = std::make_unique<TestEnvironment>();
    PlayerSettings.DirectDrawUse = false;
    stage = std::make_unique<TBlackWin>();
    player = std::make_unique<TMediaPlayer>();
    sequencer = std::make_unique<PlaybackSequencer>(*player, *stage);
    stageShows.shows = 0;
    stage->installEventFilter(&stageShows);
    analysesFinished = 0;
    FinishAnalysis = [this] {
        ++analysesFinished;
        AnalysisArmed = false;
    };
}

void TestSequencer::cleanup() {
    FinishAnalysis = nullptr;
    sequencer.reset();
    player.reset();
    stage.reset();
    env.reset();
}

void TestSequencer::play(const QString& path) {
    QVERIFY2(!path.isEmpty(), "fixture could not be made");
    sequencer->MoviePlay(path);
}

void TestSequencer::automaticPlacementFillsTheStage_data() {
    QTest::addColumn<FixtureKind>("kind");
    QTest::addColumn<QRect>("movieArea");
    QTest::newRow("160x120 at factor 4") << FixtureKind::SolidColour << QRect(0, 0, 640, 480);
    QTest::newRow("352x240 centred") << FixtureKind::MpegProgram << QRect(144, 120, 352, 240);
}

void TestSequencer::automaticPlacementFillsTheStage() {
    QFETCH(FixtureKind, kind);
    QFETCH(QRect, movieArea);
    play(Fixture(kind));
    QCOMPARE(PlaybackState, Playing);
    QVERIFY(stage->isVisible());
    QCOMPARE(stage->Panel1->geometry(), movieArea);
    QCOMPARE(PlayerSettings.MovieShowX, movieArea.x());
    QCOMPARE(PlayerSettings.MovieSizeY, movieArea.height());
    // Pixels of the picture inside the movie area, black around it.
    const QPoint inside = movieArea.topLeft() + QPoint(3, 3);
    QTRY_VERIFY_WITH_TIMEOUT(stage->grab().toImage().pixelColor(inside) != QColor(Qt::black), 5000);
    const QImage shot = stage->grab().toImage();
    if (kind == FixtureKind::SolidColour) {
        for (QPoint p :
             {QPoint(0, 0), QPoint(639, 0), QPoint(0, 479), QPoint(639, 479), QPoint(320, 240)})
            QVERIFY2(near(shot.pixelColor(p), FixtureSolidColour),
                     qPrintable(shot.pixelColor(p).name()));
    } else {
        QCOMPARE(shot.pixelColor(movieArea.topLeft() - QPoint(1, 1)), QColor(Qt::black));
        QCOMPARE(shot.pixelColor(movieArea.bottomRight() + QPoint(1, 1)), QColor(Qt::black));
    }
}

void TestSequencer::endOfPlayReturnsToIdleAndHidesTheStage() {
    AnalysisArmed = true;
    play(Fixture(FixtureKind::VideoOnly));
    QVERIFY(MovieActive);
    QCOMPARE(PlaybackState, Playing);
    QTRY_COMPARE_WITH_TIMEOUT(PlaybackState, Idle, 10000);
    QVERIFY(!stage->isVisible());
    QVERIFY(!MovieActive);
    QCOMPARE(analysesFinished, 1);
    QVERIFY(!player->isOpen());
}

void TestSequencer::keyWaitCuesUntilAKey() {
    PlayerSettings.KeyWait = true;
    play(Fixture(FixtureKind::VideoOnly));
    QCOMPARE(PlaybackState, Idle);
    QVERIFY(stage->isVisible());
    QVERIFY(stage->Panel1->isHidden());
    QTest::qWait(300);
    QCOMPARE(PlaybackState, Idle);
    QTest::keyClick(stage.get(), Qt::Key_Space);
    QCOMPARE(PlaybackState, Playing);
    QVERIFY(!stage->Panel1->isHidden());
    // A second key stops it.
    QTest::keyClick(stage.get(), Qt::Key_Space);
    QCOMPARE(PlaybackState, Idle);
    QVERIFY(!stage->isVisible());
}

void TestSequencer::afterKeyHoldsTheStageUntilAKey() {
    PlayerSettings.AfterKey = true;
    AnalysisArmed = true;
    play(Fixture(FixtureKind::VideoOnly));
    QTRY_COMPARE_WITH_TIMEOUT(PlaybackState, Holding, 10000);
    QVERIFY(stage->isVisible());
    QVERIFY(!MovieActive);
    QVERIFY(!player->isOpen());
    QCOMPARE(analysesFinished, 0);
    QTest::keyClick(stage.get(), Qt::Key_A);
    QCOMPARE(PlaybackState, Idle);
    QVERIFY(!stage->isVisible());
    QCOMPARE(analysesFinished, 1);
}

void TestSequencer::keyOrClickStopsPlay_data() {
    QTest::addColumn<bool>("click");
    QTest::newRow("key") << false;
    QTest::newRow("click") << true;
}

void TestSequencer::keyOrClickStopsPlay() {
    QFETCH(bool, click);
    MoreItemsFollow = true;
    play(Fixture(FixtureKind::VideoOnly));
    QVERIFY(QTest::qWaitForWindowExposed(stage.get()));
    QTest::qWait(200);
    if (click)
        QTest::mouseClick(stage->windowHandle(), Qt::LeftButton, {}, QPoint(320, 240));
    else
        QTest::keyClick(stage.get(), Qt::Key_Escape);
    QCOMPARE(PlaybackState, Idle);
    QVERIFY(!stage->isVisible());
    QVERIFY(MovieActive);
    QVERIFY(!MoreItemsFollow);
    // The aborted notification of the stop changes nothing.
    QTest::qWait(300);
    QCOMPARE(PlaybackState, Idle);
    QVERIFY(MovieActive);
    // Right and middle buttons are no input.
    PlayerSettings.KeyWait = true;
    play(Fixture(FixtureKind::VideoOnly));
    QTest::mouseClick(stage->windowHandle(), Qt::RightButton, {}, QPoint(10, 10));
    QTest::mouseClick(stage->windowHandle(), Qt::MiddleButton, {}, QPoint(10, 10));
    QCOMPARE(PlaybackState, Idle);
    QVERIFY(stage->Panel1->isHidden());
}

void TestSequencer::secondMovieReplacesThePlayingOne() {
    play(Fixture(FixtureKind::VideoOnly));
    QTest::qWait(200);
    const QString second = Fixture(FixtureKind::SolidColour);
    play(second);
    QCOMPARE(PlaybackState, Playing);
    // The replaced play's notification does not end the new one.
    QTest::qWait(300);
    QCOMPARE(PlaybackState, Playing);
    QVERIFY(stage->isVisible());
    QCOMPARE(player->fileName(), second);
    QTRY_COMPARE_WITH_TIMEOUT(PlaybackState, Idle, 10000);
    QVERIFY(!stage->isVisible());
}

void TestSequencer::movieThatCannotBeOpened_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("automatic");
    const QString missing = QStringLiteral("/nonexistent/movie.avi");
    QTest::newRow("missing, automatic") << missing << true;
    QTest::newRow("missing, stored placement") << missing << false;
    QTest::newRow("not a movie, automatic") << Fixture(FixtureKind::NotAMovie) << true;
    QTest::newRow("not a movie, stored placement") << Fixture(FixtureKind::NotAMovie) << false;
    QTest::newRow("truncated, automatic") << Fixture(FixtureKind::TruncatedMpeg) << true;
}

void TestSequencer::movieThatCannotBeOpened() {
    QFETCH(QString, path);
    QFETCH(bool, automatic);
    PlayerSettings.MovieAuto = automatic;
    QStringList texts;
    PressOnNextModal(QStringLiteral("OK"), &texts);
    play(path);
    if (PendingModalActions() != 0) {
        // A truncated movie may still open: then it plays what it has, and that is fine too.
        ClearModalActions();
        QVERIFY(path.contains(QStringLiteral("runcated")));
        QTRY_COMPARE_WITH_TIMEOUT(PlaybackState, Idle, 10000);
        return;
    }
    QCOMPARE(texts.value(0), QStringLiteral("Kestrune"));
    QVERIFY(texts.size() >= 2 && !texts.at(1).isEmpty());
    QVERIFY(!stage->isVisible());
    QCOMPARE(stageShows.shows, automatic ? 0 : 1);
    QCOMPARE(PlaybackState, Idle);
    QVERIFY(MovieActive);
}

void TestSequencer::moreItemsKeepTheStageUp() {
    MoreItemsFollow = true;
    play(Fixture(FixtureKind::VideoOnly));
    QTRY_COMPARE_WITH_TIMEOUT(PlaybackState, Idle, 10000);
    QVERIFY(stage->isVisible());
    QVERIFY(!MovieActive);
}

QTEST_MAIN(TestSequencer)
#include "tst_sequencer.moc"
