#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QString output;
};

Run run(const QString& program, const QStringList& arguments, const QString& folder = {}) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(program, arguments);
    if (!process.waitForFinished(240000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

// Every file below the folder, as paths relative to it.
QStringList filesBelow(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

const QString appId = QStringLiteral("org.quillmoor.Kestrune");

} // namespace

class TestInstall : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void installPutsEveryFileInPlace();
    void packageHoldsTheSameFilesAndNamesItsDependencies();
};

void TestInstall::installPutsEveryFileInPlace() {
    QTemporaryDir prefix;
    const Run install =
        run(QStringLiteral("cmake"), {"--install", KESTRUNE_BUILD_DIR, "--prefix", prefix.path()});
    QVERIFY2(install.exitCode == 0, qPrintable(install.output));
    const QDir root(prefix.path());
    QStringList expected = {
        "bin/kestrune",
        "share/doc/kestrune/manual/index.ja.html",
        "share/doc/kestrune/manual/index.en.html",
        "share/icons/hicolor/scalable/apps/" + appId + ".svg",
        "share/applications/" + appId + ".desktop",
        "share/metainfo/" + appId + ".metainfo.xml",
        "share/mime/packages/kestrune-playlist.xml",
        "share/man/man1/kestrune.1",
    };
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        expected << QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(appId);
    for (const QString& file : expected)
        QVERIFY2(root.exists(file), qPrintable(file));

    const Run desktop = run(QStringLiteral("desktop-file-validate"),
                            {root.filePath("share/applications/" + appId + ".desktop")});
    QVERIFY2(desktop.exitCode == 0 && desktop.output.trimmed().isEmpty(),
             qPrintable(desktop.output));
    const Run metainfo =
        run(QStringLiteral("appstreamcli"),
            {"validate", "--no-net", root.filePath("share/metainfo/" + appId + ".metainfo.xml")});
    QVERIFY2(metainfo.exitCode == 0, qPrintable(metainfo.output));

    const Run version = run(root.filePath("bin/kestrune"), {"--version"});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.output, QStringLiteral("Kestrune %1\n").arg(KESTRUNE_VERSION));
    const Run help = run(root.filePath("bin/kestrune"), {"--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.output.startsWith(QStringLiteral("Usage: kestrune [FILE]")));
}

void TestInstall::packageHoldsTheSameFilesAndNamesItsDependencies() {
    QTemporaryDir work;
    const Run package =
        run(QStringLiteral("cpack"),
            {"-G", "DEB", "--config", KESTRUNE_BUILD_DIR "/CPackConfig.cmake", "-B", work.path()});
    QVERIFY2(package.exitCode == 0, qPrintable(package.output));
    const QStringList debs = QDir(work.path()).entryList({"kestrune_*.deb"}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    const QString deb = work.filePath(debs.constFirst());

    const Run info = run(QStringLiteral("dpkg-deb"), {"--info", deb});
    QCOMPARE(info.exitCode, 0);
    for (const char* dependency : {"libqt6widgets6", "libgstreamer1.0-0", "libxrandr2",
                                   "libasound2", "gstreamer1.0-plugins-good", "gstreamer1.0-libav",
                                   "qt6-qpa-plugins", "fonts-ipafont-gothic"})
        QVERIFY2(info.output.contains(QLatin1String(dependency)), dependency);

    const QString unpacked = work.filePath(QStringLiteral("unpacked"));
    QCOMPARE(run(QStringLiteral("dpkg-deb"), {"-x", deb, unpacked}).exitCode, 0);
    QTemporaryDir prefix;
    QCOMPARE(run(QStringLiteral("cmake"),
                 {"--install", KESTRUNE_BUILD_DIR, "--prefix", prefix.path() + "/usr"})
                 .exitCode,
             0);
    QCOMPARE(filesBelow(unpacked), filesBelow(prefix.path()));
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
