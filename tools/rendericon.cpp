// Renders the program's scalable icon into the PNG sizes of the hicolor icon theme:
// rendericon <icon.svg> <output folder> <name> renders <folder>/<N>x<N>/apps/<name>.png.
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: rendericon <icon.svg> <output folder> <name>\n");
        return 2;
    }
    const QIcon icon{QString::fromLocal8Bit(argv[1])};
    const QString root = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QPixmap pixmap = icon.pixmap(QSize(size, size));
        if (pixmap.isNull() || !QDir().mkpath(folder) ||
            !pixmap.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"))) {
            std::fprintf(stderr, "rendericon: cannot render the %dx%d icon\n", size, size);
            return 1;
        }
    }
    return 0;
}
