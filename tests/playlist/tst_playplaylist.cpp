// Playing the whole playlist on the stage with real movies: the stage kept up between rows, each
// movie at its row's placement and volumes, blanks held, stops by key, AfterKey holds, KeyWait
// cues, and the settings and volumes put back after every run.

#include "app/hooks.h"
#include "app/mainwin.h"
#include "app/processflags.h"
#include "app/settingsstore.h"
#include "app/startup.h"
#include "audio/mixer.h"
#include "playback/blackwin.h"
#include "playlist/movielist.h"
#include "playlist/playplaylist.h"
#include "support/fixtures.h"
#include "support/mixerdouble.h"
#include "support/mixersetup.h"
#include "support/modal.h"
#include "support/playlistwindow.h"
#include "support/testenv.h"

#include <QElapsedTimer>
#include <QMessageBox>
#include <QtTest>

namespace {

// What the run had set when it handed a movie to MoviePlay, and what MoviePlay made of it.
struct PlayRecord {
    QString path;
    bool movieAuto = true;
    QRect placement;
    int master = -1;
    int wave = -1;
    bool movieActiveBefore = false;
    QRect panel;
};

// The state of things, taken every few milliseconds while a run goes on.
struct Sample {
    qint64 at = 0;
    int plays = 0;
    TPlaybackState state = Idle;
    bool stageShown = false;
    int master = -1;
    int wave = -1;
};

// Counts the stage's appearances and disappearances.
class ShowCounter : public QObject {
public:
    int shows = 0;
    int hides = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            ++shows;
        else if (event->type() == QEvent::Hide)
            ++hides;
        return false;
    }
};

PlaylistItem movieRow(const QString& path, QRect placement, int master, int wave) {
    return NewMovieItem(path, 2000, QSize(160, 120), placement.size(), placement.topLeft(), master,
                        wave);
}

struct Saved {
    TPlayerSettings settings;
    int master;
    int wave;
};

Saved saveState() {
    return {PlayerSettings, GetMasterVolume(), GetWaveVolume()};
}

void pressKeyOnStage() {
    QTest::keyClick(BlackWin, Qt::Key_Space);
}

} // namespace

class TestPlayPlaylist : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void emptyListBringsTheWindowBack();
    void playsEveryRowOnOneStage();
    void keyEndsTheRunAndTheWindowComesBack();
    void afterKeyReleasesEachHold();
    void restoredAfterEveryRun_data();
    void restoredAfterEveryRun();
    void keyWaitWaitsForEachCuedMovie();
    // Last: it ends the program's loops.
    void closingTheMainWindowEndsTheRun();

private:
    void setRows(const QList<PlaylistItem>& rows) { MovieList->replaceRows(rows); }
    // Takes a sample every 50 ms until the object goes.
    void startSampling();
    void checkRestored(const Saved& before) const;

    QString m1_;
    QString m2_;
    QString broken_;
    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<MixerDouble> mixer_;
    std::unique_ptr<UseMixerDevices> useMixer_;
    std::unique_ptr<KestruneWindows> windows_;
    std::unique_ptr<ShowCounter> stageShows_;
    std::unique_ptr<QTimer> sampler_;
    QElapsedTimer clock_;
    QList<PlayRecord> plays_;
    QList<Sample> samples_;
    std::function<void()> onPlay_;
};

void TestPlayPlaylist::initTestCase() {
    m1_ = Fixture(FixtureKind::MotionJpegAvi);
    m2_ = Fixture(FixtureKind::VideoOnly);
    broken_ = Fixture(FixtureKind::NotAMovie);
    QVERIFY(!m1_.isEmpty() && !m2_.isEmpty() && !broken_.isEmpty());
}

void TestPlayPlaylist::init() {
    env_ = std::make_unique<TestEnvironment>();
    mixer_ = std::make_unique<MixerDouble>(DoubleDevices{PlainDevice(1, 2, 3)});
    useMixer_ = std::make_unique<UseMixerDevices>(mixer_.get());
    windows_ = std::make_unique<KestruneWindows>(QStringList{});
    QVERIFY(MixerState.MixerReady);
    SetMasterVolume(75);
    SetWaveVolume(50);
    // No display-mode switch where there is no X server.
    PlayerSettings.DirectDrawUse = false;
    PlayerSettings.MovieAuto = true;
    PlayerSettings.MovieSizeX = 111;
    PlayerSettings.MovieSizeY = 222;
    PlayerSettings.MovieShowX = -3;
    PlayerSettings.MovieShowY = 4;

    stageShows_ = std::make_unique<ShowCounter>();
    BlackWin->installEventFilter(stageShows_.get());
    plays_.clear();
    samples_.clear();
    onPlay_ = nullptr;
    clock_.start();
    const std::function<void(const QString&)> play = ::MoviePlay;
    QVERIFY(play);
    ::MoviePlay = [this, play](const QString& path) {
        const TPlayerSettings& s = PlayerSettings;
        PlayRecord record{path,
                          s.MovieAuto,
                          QRect(s.MovieShowX, s.MovieShowY, s.MovieSizeX, s.MovieSizeY),
                          GetMasterVolume(),
                          GetWaveVolume(),
                          MovieActive,
                          {}};
        play(path);
        record.panel = BlackWin->Panel1->geometry();
        plays_ << record;
        if (onPlay_)
            onPlay_();
    };
}

void TestPlayPlaylist::cleanup() {
    sampler_.reset();
    QCOMPARE(PendingModalActions(), 0);
    ClearModalActions();
    windows_.reset();
    stageShows_.reset();
    useMixer_.reset();
    mixer_.reset();
    env_.reset();
}

void TestPlayPlaylist::startSampling() {
    sampler_ = std::make_unique<QTimer>();
    sampler_->setInterval(50);
    connect(sampler_.get(), &QTimer::timeout, this, [this] {
        samples_ << Sample{clock_.elapsed(),  static_cast<int>(plays_.size()),
                           PlaybackState,     BlackWin->isVisible(),
                           GetMasterVolume(), GetWaveVolume()};
    });
    sampler_->start();
}

void TestPlayPlaylist::checkRestored(const Saved& before) const {
    QCOMPARE(PlayerSettings.MovieAuto, before.settings.MovieAuto);
    QCOMPARE(PlayerSettings.MovieSizeX, before.settings.MovieSizeX);
    QCOMPARE(PlayerSettings.MovieSizeY, before.settings.MovieSizeY);
    QCOMPARE(PlayerSettings.MovieShowX, before.settings.MovieShowX);
    QCOMPARE(PlayerSettings.MovieShowY, before.settings.MovieShowY);
    QCOMPARE(GetMasterVolume(), before.master);
    QCOMPARE(GetWaveVolume(), before.wave);
}

void TestPlayPlaylist::emptyListBringsTheWindowBack() {
    const Saved before = saveState();
    int shown = 0;
    OnNextModal([&shown](QWidget* modal) {
        QCOMPARE(modal, static_cast<QWidget*>(MovieList));
        ++shown;
        MovieList->Play->click();
    });
    OnNextModal([&shown](QWidget* modal) {
        QCOMPARE(modal, static_cast<QWidget*>(MovieList));
        ++shown;
        MovieList->Cancel->click();
    });
    MainWin->List1Click();
    QCOMPARE(shown, 2);
    QCOMPARE(stageShows_->shows, 0);
    QVERIFY(plays_.isEmpty());
    checkRestored(before);
    QCOMPARE(mixer_->writes.size(), size_t{2}); // only the two of init
}

void TestPlayPlaylist::playsEveryRowOnOneStage() {
    const Saved before = saveState();
    const QRect a(10, 20, 320, 240);
    const QRect b(-40, 0, 160, 120);
    setRows({movieRow(m1_, a, 30, 40), BlankRow(3000), movieRow(m2_, b, 60, 70)});
    startSampling();
    PlayPlaylist();

    QCOMPARE(plays_.size(), 2);
    QCOMPARE(plays_[0].path, m1_);
    QCOMPARE(plays_[1].path, m2_);
    for (const auto& [record, placement, master, wave] :
         {std::tuple{plays_[0], a, 30, 40}, std::tuple{plays_[1], b, 60, 70}}) {
        QVERIFY(!record.movieAuto);
        QCOMPARE(record.placement, placement);
        QCOMPARE(record.panel, placement);
        QCOMPARE(record.master, master);
        QCOMPARE(record.wave, wave);
    }
    // Shown once, kept up between the rows, hidden by the last movie's end.
    QCOMPARE(stageShows_->shows, 1);
    QCOMPARE(stageShows_->hides, 1);
    QVERIFY(!BlackWin->isVisible());
    // The blank: the black stage held with the first movie's volumes, while timers still ran.
    QList<Sample> hold;
    for (const Sample& s : samples_) {
        if (s.plays == 1 && s.state == Idle)
            hold << s;
    }
    QVERIFY(hold.size() > 10);
    for (const Sample& s : hold) {
        QVERIFY(s.stageShown);
        QCOMPARE(s.master, 30);
        QCOMPARE(s.wave, 40);
    }
    QVERIFY2(hold.constLast().at - hold.constFirst().at >= 2500,
             qPrintable(QString::number(hold.constLast().at - hold.constFirst().at)));
    QCOMPARE(PlaybackState, Idle);
    QVERIFY(!MoreItemsFollow);
    checkRestored(before);
}

void TestPlayPlaylist::keyEndsTheRunAndTheWindowComesBack() {
    const Saved before = saveState();
    const QRect placement(0, 0, 160, 120);
    setRows({movieRow(m1_, placement, 30, 40), movieRow(m2_, placement, 60, 70),
             movieRow(m1_, placement, 80, 90)});
    onPlay_ = [] {
        QTimer::singleShot(300, pressKeyOnStage);
    };
    int shown = 0;
    OnNextModal([&shown](QWidget*) {
        ++shown;
        MovieList->Play->click();
    });
    bool stageHiddenWhenBack = false;
    OnNextModal([&shown, &stageHiddenWhenBack](QWidget*) {
        ++shown;
        stageHiddenWhenBack = !BlackWin->isVisible();
        MovieList->Cancel->click();
    });
    MainWin->List1Click();

    QCOMPARE(plays_.size(), 1);
    QCOMPARE(shown, 2);
    QVERIFY(stageHiddenWhenBack);
    QCOMPARE(PlaybackState, Idle);
    QVERIFY(!MoreItemsFollow);
    checkRestored(before);
}

void TestPlayPlaylist::afterKeyReleasesEachHold() {
    PlayerSettings.AfterKey = true;
    const Saved before = saveState();
    const QRect placement(0, 0, 160, 120);
    setRows({movieRow(m1_, placement, 30, 40), movieRow(m2_, placement, 60, 70)});
    QList<int> releasedAfter; // plays started when each hold was released
    QList<bool> shownWhenHeld;
    QTimer releaser;
    releaser.setInterval(20);
    connect(&releaser, &QTimer::timeout, this, [&] {
        if (PlaybackState != Holding)
            return;
        releasedAfter << static_cast<int>(plays_.size());
        shownWhenHeld << BlackWin->isVisible();
        pressKeyOnStage();
    });
    releaser.start();
    PlayPlaylist();

    QCOMPARE(plays_.size(), 2);
    QCOMPARE(releasedAfter, (QList<int>{1, 2}));
    QCOMPARE(shownWhenHeld, (QList<bool>{true, true}));
    QCOMPARE(stageShows_->shows, 1);
    QVERIFY(!BlackWin->isVisible());
    QCOMPARE(PlaybackState, Idle);
    checkRestored(before);
}

void TestPlayPlaylist::restoredAfterEveryRun_data() {
    QTest::addColumn<QString>("shape");
    QTest::newRow("played to the end") << "end";
    QTest::newRow("stopped by a key") << "key";
    QTest::newRow("stopped by a click") << "click";
    QTest::newRow("ends with a blank") << "blank";
    QTest::newRow("last movie cannot be opened") << "broken";
    QTest::newRow("only blanks below a second") << "short blanks";
}

void TestPlayPlaylist::restoredAfterEveryRun() {
    QFETCH(QString, shape);
    const Saved before = saveState();
    const QRect placement(5, 6, 160, 120);
    const PlaylistItem first = movieRow(m1_, placement, 30, 40);
    QList<PlaylistItem> rows{first, movieRow(m2_, placement, 60, 70)};
    if (shape == QLatin1String("blank"))
        rows = {first, BlankRow(1000)};
    else if (shape == QLatin1String("broken"))
        rows = {first, movieRow(broken_, placement, 60, 70)};
    else if (shape == QLatin1String("short blanks"))
        rows = {BlankRow(-5000), BlankRow(999), BlankRow(INT32_MIN)};
    setRows(rows);

    onPlay_ = [this, shape] {
        if (plays_.size() != 1)
            return;
        // The volumes moved during the run, as the level meter's bars do.
        QTimer::singleShot(100, [] {
            SetMasterVolume(5);
            SetWaveVolume(6);
        });
        if (shape == QLatin1String("key"))
            QTimer::singleShot(300, pressKeyOnStage);
        else if (shape == QLatin1String("click"))
            QTimer::singleShot(300, [] { QTest::mouseClick(BlackWin, Qt::LeftButton); });
    };
    QStringList boxes;
    if (shape == QLatin1String("broken"))
        PressOnNextModal(QStringLiteral("OK"), &boxes);
    PlayPlaylist();

    checkRestored(before);
    QVERIFY(!BlackWin->isVisible());
    QCOMPARE(PlaybackState, Idle);
    if (shape == QLatin1String("key") || shape == QLatin1String("click"))
        QCOMPARE(plays_.size(), 1);
    if (shape == QLatin1String("broken"))
        QCOMPARE(boxes.value(0), QStringLiteral("Kestrune"));
    if (shape == QLatin1String("short blanks")) {
        QVERIFY(plays_.isEmpty());
        QCOMPARE(stageShows_->shows, 1);
    }
}

void TestPlayPlaylist::keyWaitWaitsForEachCuedMovie() {
    PlayerSettings.KeyWait = true;
    const Saved before = saveState();
    const QRect placement(0, 0, 160, 120);
    setRows({movieRow(broken_, placement, 10, 20), movieRow(m1_, placement, 30, 40),
             movieRow(m2_, placement, 60, 70)});
    PressOnNextModal(QStringLiteral("OK"));
    QList<int> startedPlays;
    QTimer starter;
    starter.setInterval(50);
    connect(&starter, &QTimer::timeout, this, [&] {
        const int plays = static_cast<int>(plays_.size());
        if (PlaybackState == Idle && BlackWin->isVisible() && plays >= 2 &&
            !startedPlays.contains(plays)) {
            startedPlays << plays;
            pressKeyOnStage();
        }
    });
    starter.start();
    PlayPlaylist();

    QCOMPARE(plays_.size(), 3);
    QCOMPARE(startedPlays, (QList<int>{2, 3}));
    // The second movie played to its end before the third was handed over.
    QVERIFY(!plays_[2].movieActiveBefore);
    QVERIFY(!MovieActive);
    QVERIFY(!BlackWin->isVisible());
    QCOMPARE(PlaybackState, Idle);
    checkRestored(before);
}

void TestPlayPlaylist::closingTheMainWindowEndsTheRun() {
    const Saved before = saveState();
    const QRect placement(0, 0, 160, 120);
    setRows({movieRow(m1_, placement, 30, 40), BlankRow(60000), movieRow(m2_, placement, 60, 70)});
    onPlay_ = [] {
        QTimer::singleShot(300, MainWin, &QWidget::close);
    };
    OnNextModal([](QWidget*) { MovieList->Play->click(); });
    MainWin->List1Click();

    QVERIFY(ApplicationEnding);
    QCOMPARE(plays_.size(), 1);
    checkRestored(before);
}

QTEST_MAIN(TestPlayPlaylist)
#include "tst_playplaylist.moc"
