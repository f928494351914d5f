// Time to load a playlist file of 10,000 rows into rows (and, for comparison, to save it). The
// rows mix ASCII paths, Japanese paths stored in CP932, paths stored as UTF-8, and blanks.

#include "playlist/ksxfile.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int Rows = 10000;
constexpr int Runs = 21;

QList<PlaylistItem> SampleRows() {
    QList<PlaylistItem> rows;
    for (int i = 0; i < Rows; ++i) {
        switch (i % 4) {
        case 0:
            rows.append(NewMovieItem(QStringLiteral("/home/operator/movies/clip%1.avi").arg(i),
                                     60000 + i, {320, 240}, {640, 480}, {0, 0}, 80, 100));
            break;
        case 1:
            rows.append(NewMovieItem(QStringLiteral("/home/operator/動画/第%1話①.mpg").arg(i),
                                     1800000 + i, {352, 240}, {704, 480}, {-32, 0}, 75, 90));
            break;
        case 2:
            rows.append(NewMovieItem(QStringLiteral("/media/café/¥%1.mov").arg(i), 5000 + i,
                                     {160, 120}, {640, 480}, {0, 0}, 50, 50));
            break;
        default:
            rows.append(NewBlankItem());
        }
    }
    return rows;
}

template <class F> double MedianMs(F&& work, double* fastest) {
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::ranges::sort(times);
    *fastest = times.front();
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.ksx"));
    const QList<PlaylistItem> rows = SampleRows();

    double fastest = 0;
    const double save = MedianMs(
        [&] {
            if (WritePlaylistFile(path, rows).outcome != PlaylistWriteResult::Written) {
                std::fprintf(stderr, "bench_ksxload: saving failed\n");
                std::exit(1);
            }
        },
        &fastest);
    std::printf("ksx save %d rows: median %.2f ms, fastest %.2f ms (%d runs, synced to disk)\n",
                Rows, save, fastest, Runs);

    const double load = MedianMs(
        [&] {
            const PlaylistReadResult read = ReadPlaylistFile(path);
            if (read.error || read.rows.size() != Rows) {
                std::fprintf(stderr, "bench_ksxload: loading failed\n");
                std::exit(1);
            }
        },
        &fastest);
    std::printf("ksx load %d rows: median %.2f ms, fastest %.2f ms (%d runs)\n", Rows, load,
                fastest, Runs);
    return 0;
}
