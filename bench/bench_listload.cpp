// Time to load a playlist file of 10,000 rows into the playlist window: the file read and the rows
// put into the list view, as Load does once its dialog has given the file; then, apart, until the
// window has laid out and painted the list.

#include "playlist/ksxfile.h"
#include "playlist/movielist.h"
#include "support/median.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

constexpr int Rows = 10000;
constexpr int Runs = 11;

// Movies with paths of every kind the file holds, and blanks, in turn.
QList<PlaylistItem> sampleList() {
    const QString names[] = {QStringLiteral("/srv/clips/take%1.avi"),
                             QStringLiteral("/home/operator/番組/第%1回.mpg"),
                             QStringLiteral("/media/disc/scene%1.mov")};
    QList<PlaylistItem> rows;
    for (int i = 0; i < Rows; ++i) {
        if (i % 4 == 3)
            rows.append(NewBlankItem());
        else
            rows.append(NewMovieItem(names[i % 4].arg(i), 30000 + i, {320, 240}, {640, 480}, {0, 0},
                                     80, 90));
    }
    return rows;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.KSX"));
    if (WritePlaylistFile(path, sampleList()).outcome != PlaylistWriteResult::Written) {
        std::fprintf(stderr, "bench_listload: the list could not be written\n");
        return 1;
    }

    TMovieList list;
    list.show();
    QCoreApplication::processEvents();
    std::vector<double> loads;
    std::vector<double> painted;
    for (int run = 0; run < Runs; ++run) {
        list.replaceRows({});
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        const PlaylistReadResult read = ReadPlaylistFile(path);
        if (read.error || read.rows.size() != Rows) {
            std::fprintf(stderr, "bench_listload: the list could not be read\n");
            return 1;
        }
        list.replaceRows(read.rows);
        loads.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        list.ListView->repaint();
        QCoreApplication::processEvents();
        painted.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("list load %d rows into the window: median %.1f ms, %.1f ms until painted (%d "
                "runs)\n",
                Rows, Median(loads), Median(painted), Runs);
    return 0;
}
