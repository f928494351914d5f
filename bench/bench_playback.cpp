// Playback speed of the media player against GStreamer's own command-line player on the same file,
// in the same run: gst-launch-1.0 playbin with a fakesink as the video sink (decoding and timing
// only, no picture drawn).
//
//   first frame: from the start of play to the first frame painted (for the reference: to the
//                fakesink's first rendered buffer), median of several runs;
//   CPU:         CPU seconds (user and system, all threads) per second of playback, from the
//                start of play to its end, at magnification 1 and 2 (the reference draws nothing,
//                so it has one figure for both).
//
// Goal: at factor 1 the player needs at most 1.2 times the reference's CPU.

#include "platform/mediaplayer.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int Runs = 5;

double seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

double ownCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// User and system time of another process so far, from /proc.
double processCpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    // Fields after the command name, which is in parentheses and may hold spaces.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return 0;
    const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
    return (fields[11].toDouble() + fields[12].toDouble()) / ticks;
}

// Runs the event loop until the condition holds or the time is up. The condition is looked at
// every 20 ms: a faster check would wake the program often enough to show in its CPU time.
bool runUntil(const std::function<bool()>& done, int timeoutMs) {
    QEventLoop loop;
    QTimer check;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() > timeoutMs)
            loop.quit();
    });
    check.start(20);
    if (!done())
        loop.exec();
    return done();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The stage as the sequencer uses it: a black window whose movie area stays hidden until play.
struct Stage {
    explicit Stage(int factor) {
        window.resize(640 * factor, 480 * factor);
        QPalette black = window.palette();
        black.setColor(QPalette::Window, Qt::black);
        window.setPalette(black);
        window.setAutoFillBackground(true);
        panel = new QWidget(&window);
        panel->setPalette(black);
        panel->setAutoFillBackground(true);
        panel->setGeometry(0, 0, 640 * factor, 480 * factor);
        panel->hide();
        window.show();
    }
    QWidget window;
    QWidget* panel;
};

double playerFirstFrameMs(const QString& path) {
    Stage stage(1);
    TMediaPlayer player;
    player.setFileName(path);
    player.setDisplay(stage.panel);
    player.Open();
    if (player.Error() != 0)
        qFatal("the movie does not open: %s", qPrintable(player.ErrorMessage()));
    player.setDisplayRect(QRect(0, 0, 640, 480));
    runUntil([] { return false; }, 200); // settle
    QElapsedTimer clock;
    qint64 firstMs = -1;
    QObject::connect(&player, &TMediaPlayer::framePainted, [&] {
        if (firstMs < 0)
            firstMs = clock.nsecsElapsed() / 1000;
    });
    player.setNotify(true);
    clock.start();
    player.Play();
    stage.panel->show();
    runUntil([&] { return firstMs >= 0; }, 5000);
    player.Close();
    return firstMs / 1000.0;
}

double playerCpuPerSecond(const QString& path, int factor) {
    Stage stage(factor);
    TMediaPlayer player;
    player.setFileName(path);
    player.setDisplay(stage.panel);
    player.Open();
    if (player.Error() != 0)
        qFatal("the movie does not open: %s", qPrintable(player.ErrorMessage()));
    player.setDisplayRect(QRect(0, 0, 640 * factor, 480 * factor));
    bool ended = false;
    QObject::connect(&player, &TMediaPlayer::OnNotify, [&] { ended = true; });
    player.setNotify(true);
    QElapsedTimer wall;
    const double cpu0 = ownCpuSeconds();
    wall.start();
    player.Play();
    stage.panel->show();
    runUntil([&] { return ended; }, 120000);
    const double cpu = ownCpuSeconds() - cpu0;
    const double elapsed = wall.nsecsElapsed() / 1e9;
    player.Close();
    return cpu / elapsed;
}

// gst-launch-1.0 playbin with a fakesink; calls onLine(line, milliseconds since the start of play
// was announced, or -1 before) for each line it prints; returns false when it fails.
bool runReference(const QString& path, bool verbose,
                  const std::function<void(const QByteArray&, double, qint64 pid)>& onLine) {
    const QString uri = QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded());
    QStringList arguments;
    if (verbose)
        arguments << QStringLiteral("-v") << QStringLiteral("-X") << QStringLiteral("caps");
    arguments << QStringLiteral("playbin") << QStringLiteral("uri=") + uri
              << (verbose ? QStringLiteral("video-sink=fakesink name=vsink sync=true silent=false")
                          : QStringLiteral("video-sink=fakesink sync=true"));
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer sincePlay;
    bool playing = false;
    QByteArray pending;
    QObject::connect(&process, &QProcess::readyRead, [&] {
        pending += process.readAll();
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QByteArray line = pending.left(end);
            pending.remove(0, end + 1);
            if (!playing && line.startsWith("Setting pipeline to PLAYING")) {
                playing = true;
                sincePlay.start();
            }
            onLine(line, playing ? sincePlay.nsecsElapsed() / 1e6 : -1, process.processId());
        }
    });
    process.start(QStringLiteral("gst-launch-1.0"), arguments);
    if (!process.waitForStarted(10000))
        return false;
    runUntil([&] { return process.state() == QProcess::NotRunning; }, 120000);
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

double referenceFirstFrameMs(const QString& path) {
    double firstMs = -1;
    runReference(path, true, [&](const QByteArray& line, double ms, qint64) {
        if (ms >= 0 && firstMs < 0 && line.contains("vsink: last-message = chain"))
            firstMs = ms;
    });
    return firstMs;
}

double referenceCpuPerSecond(const QString& path) {
    double cpu0 = 0;
    double cpu = 0;
    double elapsed = 0;
    runReference(path, false, [&](const QByteArray& line, double ms, qint64 pid) {
        if (line.startsWith("Setting pipeline to PLAYING"))
            cpu0 = processCpuSeconds(pid);
        else if (line.startsWith("Got EOS")) {
            cpu = processCpuSeconds(pid) - cpu0;
            elapsed = ms / 1000;
        }
    });
    return elapsed > 0 ? cpu / elapsed : 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);

    const QString path = Fixture(FixtureKind::Benchmark640);
    if (path.isEmpty())
        return 1;
    const FixtureFacts facts = FixtureInfo(FixtureKind::Benchmark640);
    std::printf("Playback: %s\n  Motion JPEG %d x %d at 25 fps with PCM sound, %.1f s; Qt platform "
                "%s; %d runs for the first frame\n\n",
                qPrintable(path), facts.width, facts.height, facts.lengthMs / 1000.0,
                qgetenv("QT_QPA_PLATFORM").constData(), Runs);

    // BENCH_ONLY_FACTOR=n: only the player's CPU figure at that factor, for quick comparisons.
    if (qEnvironmentVariableIsSet("BENCH_ONLY_FACTOR")) {
        const int factor = qEnvironmentVariableIntValue("BENCH_ONLY_FACTOR");
        std::printf("factor %d: %.3f\n", factor, playerCpuPerSecond(path, factor));
        return 0;
    }
    std::vector<double> ours;
    std::vector<double> theirs;
    for (int run = 0; run < Runs; ++run) {
        ours.push_back(playerFirstFrameMs(path));
        theirs.push_back(referenceFirstFrameMs(path));
    }
    const double ourFirst = median(ours);
    const double theirFirst = median(theirs);
    std::printf("%-44s %10s %14s %7s\n", "", "Kestrune", "gst-launch", "ratio");
    std::printf("%-44s %10.1f %14.1f %7.2f\n", "first frame after play start, ms (median)",
                ourFirst, theirFirst, theirFirst > 0 ? ourFirst / theirFirst : 0.0);
    std::fflush(stdout);

    const double reference = referenceCpuPerSecond(path);
    for (int factor : {1, 2}) {
        const double cpu = playerCpuPerSecond(path, factor);
        char label[64];
        std::snprintf(label, sizeof label, "CPU s per s of playback, factor %d", factor);
        std::printf("%-44s %10.3f %14.3f %7.2f%s\n", label, cpu, reference,
                    reference > 0 ? cpu / reference : 0.0,
                    factor == 1 ? "   (goal: at most 1.20)" : "");
        std::fflush(stdout);
    }
    return 0;
}
