// Time to add a movie to the playlist (the probe that opens the file, reads its size and length and
// closes it again, and the row made from it), against GStreamer's own gst-discoverer-1.0 on the
// same files in the same run. The reference is started once for the whole list of files, so its
// start-up is shared out over them as the program's own is.
//
// Goal: the playlist needs at most 1.5 times the reference's seconds per movie.

#include "playlist/movielist.h"
#include "support/fixtures.h"
#include "support/median.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 5;
constexpr int Rounds = 4; // each file this many times in one run

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList files;
    for (const FixtureKind kind : {FixtureKind::MotionJpegAvi, FixtureKind::QuickTimeMov,
                                   FixtureKind::MpegProgram, FixtureKind::Mpeg1Video}) {
        const QString path = Fixture(kind);
        if (path.isEmpty()) {
            std::fprintf(stderr, "bench_addmovie: a fixture could not be made\n");
            return 1;
        }
        for (int round = 0; round < Rounds; ++round)
            files << path;
    }

    TMovieList list;
    list.show();
    std::vector<double> ours;
    std::vector<double> reference;
    for (int run = 0; run < Runs; ++run) {
        list.replaceRows({});
        QElapsedTimer clock;
        clock.start();
        for (const QString& file : files)
            list.AddMovie(file);
        ours.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e9 / files.size());
        if (list.rowCount() != files.size()) {
            std::fprintf(stderr, "bench_addmovie: a movie was not added\n");
            return 1;
        }

        QProcess discoverer;
        discoverer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        clock.restart();
        discoverer.start(QStringLiteral("gst-discoverer-1.0"), files);
        if (!discoverer.waitForFinished(120000) || discoverer.exitCode() != 0) {
            std::fprintf(stderr, "bench_addmovie: gst-discoverer-1.0 failed\n");
            return 1;
        }
        reference.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e9 / files.size());
    }

    const double own = Median(ours);
    const double ref = Median(reference);
    std::printf("add movie: %.4f s per movie; gst-discoverer-1.0: %.4f s per file; ratio %.2f "
                "(goal at most 1.5); median of %d runs over %lld files (AVI, QuickTime, MPEG-2 and "
                "MPEG-1 program streams)\n",
                own, ref, own / ref, Runs, static_cast<long long>(files.size()));
    return 0;
}
