#include "playlist/ksxfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <array>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A list file laid out by hand from the format's table, independently of the writer.
class ListBytes {
public:
    ListBytes& raw(const QByteArray& bytes) {
        bytes_ += bytes;
        return *this;
    }
    ListBytes& word(int32_t value) {
        const auto bits = static_cast<uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) {
            bytes_ += static_cast<char>((bits >> shift) & 0xFF);
        }
        return *this;
    }
    ListBytes& header(int32_t version, int32_t count) {
        return raw(QByteArray("KSX\x1A", 4)).word(version).word(count).word(0);
    }
    // name: the caption's bytes; words: length, kind, natural w and h, display w and h, display
    // left and top, master and wave volume.
    ListBytes& record(const QByteArray& name, const std::array<int32_t, 10>& words) {
        QByteArray field = name;
        field.resize(256, '\0');
        raw(field);
        for (int32_t w : words) {
            word(w);
        }
        return word(0).word(0);
    }
    QByteArray bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

PlaylistItem Row(const QString& caption, const QString& texts) {
    return {caption, texts.split(QLatin1Char('|'))};
}

// Three rows as loading must build them, and the same list as the file holds it.
const QList<PlaylistItem> GoldenRows{
    Row(QStringLiteral("C:\\Movies\\デモ~1.AVI"),
        QStringLiteral("0:01:23.456|320,240|640,480|0,0|75%|100%|0|83456|320|240|640|480|0|0")),
    Row(QStringLiteral("空白"), QStringLiteral("0:00:03.000|0,0|0,0|0,0|0%|0%|1|3000|0|0|0|0|0|0")),
    Row(QStringLiteral("D:\\①回目.mpg"),
        QStringLiteral(
            "1:30:00.000|400,300|400,300|-40,-30|0%|50%|0|5400000|400|300|400|300|-40|-30")),
};

ListBytes GoldenRecords(ListBytes bytes) {
    return bytes
        .record(QByteArray("C:\\Movies\\\x83\x66\x83\x82~1.AVI"),
                {83456, 0, 320, 240, 640, 480, 0, 0, 75, 100})
        .record(QByteArray("\x8B\xF3\x94\x92"), {3000, 1, 0, 0, 0, 0, 0, 0, 0, 0})
        .record(QByteArray::fromHex("443a5c874089f196da2e6d7067"),
                {5400000, 0, 400, 300, 400, 300, -40, -30, 0, 50});
}

QByteArray GoldenFile() {
    return GoldenRecords(ListBytes().header(256, 3)).bytes();
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

// Caps the size of any file this process writes, as a full disk would, for its lifetime.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

} // namespace

class TestKsxFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void goldenFileLoads();
    void writerLaysOutTheRows_data();
    void writerLaysOutTheRows();
    void headerDecidesWhetherTheFileLoads_data();
    void headerDecidesWhetherTheFileLoads();
    void countAndEndOfFileDisagree_data();
    void countAndEndOfFileDisagree();
    void blankKeepsItsDuration();
    void namesSurviveSaveAndLoad_data();
    void namesSurviveSaveAndLoad();
    void captionThatDoesNotFitIsRefused_data();
    void captionThatDoesNotFitIsRefused();
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
    void targetThatIsNoFileIsLeftAlone_data();
    void targetThatIsNoFileIsLeftAlone();
    void unreadableFileFailsToOpen_data();
    void unreadableFileFailsToOpen();
    void savingKeepsModeAndLink();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path(const QString& name) const { return dir_->filePath(name); }
};

void TestKsxFile::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestKsxFile::goldenFileLoads() {
    WriteAll(path("golden.ksx"), GoldenFile());
    const PlaylistReadResult read = ReadPlaylistFile(path("golden.ksx"));
    QVERIFY(!read.error);
    QCOMPARE(read.rows, GoldenRows);
}

void TestKsxFile::writerLaysOutTheRows_data() {
    QTest::addColumn<QList<PlaylistItem>>("rows");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("golden") << GoldenRows << GoldenFile();
    QTest::newRow("empty list") << QList<PlaylistItem>()
                                << QByteArray::fromHex("4b53581a000100000000000000000000");
    QTest::newRow("new blank") << QList<PlaylistItem>{NewBlankItem()}
                               << ListBytes()
                                      .header(256, 1)
                                      .record("\x8B\xF3\x94\x92", {2000, 1, 0, 0, 0, 0, 0, 0, 0, 0})
                                      .bytes();
    // A blank's values are never written, whatever its row holds; its kind number is.
    QTest::newRow("blank holding values")
        << QList<PlaylistItem>{Row("x", "0:00:05.000|1,2|3,4|5,6|70%|80%|2|5000|1|2|3|4|5|6")}
        << ListBytes().header(256, 1).record("x", {5000, 2, 0, 0, 0, 0, 0, 0, 0, 0}).bytes();
    // Texts as the properties dialog leaves them: each is written as the number it begins with.
    QTest::newRow("typed texts")
        << QList<PlaylistItem>{Row("m.avi", "0:00:01.000|8,6|6,12|-3,0|%|150%|0| 1000x|8|6|6 4|"
                                            "  12|-3x||")}
        << ListBytes()
               .header(256, 1)
               .record("m.avi", {1000, 0, 8, 6, 6, 12, -3, 0, 0, 150})
               .bytes();
    QTest::newRow("movie and blank")
        << QList<PlaylistItem>{NewMovieItem("/v/a.mov", 61000, {160, 120}, {320, 240}, {0, 0}, 80,
                                            90),
                               NewBlankItem()}
        << ListBytes()
               .header(256, 2)
               .record("/v/a.mov", {61000, 0, 160, 120, 320, 240, 0, 0, 80, 90})
               .record("\x8B\xF3\x94\x92", {2000, 1, 0, 0, 0, 0, 0, 0, 0, 0})
               .bytes();
}

void TestKsxFile::writerLaysOutTheRows() {
    QFETCH(QList<PlaylistItem>, rows);
    QFETCH(QByteArray, expected);
    QCOMPARE(WritePlaylistFile(path("out.ksx"), rows).outcome, PlaylistWriteResult::Written);
    QCOMPARE(ReadAll(path("out.ksx")).toHex(' '), expected.toHex(' '));
    QCOMPARE(Entries(dir_->path()), QStringList{"out.ksx"});
}

void TestKsxFile::headerDecidesWhetherTheFileLoads_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("error"); // -1: loads
    QTest::addColumn<int>("rows");

    const QByteArray oneRecord = ListBytes().record("a", {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}).bytes();
    QTest::newRow("empty file") << QByteArray() << 1 << 0;
    QTest::newRow("three bytes") << QByteArray("KSX") << 1 << 0;
    QTest::newRow("wrong fourth byte")
        << ListBytes().raw("KSX\x1B").word(256).word(0).bytes() << 1 << 0;
    QTest::newRow("lower case") << ListBytes().raw("ksx\x1A").word(256).word(0).bytes() << 1 << 0;
    QTest::newRow("magic only") << QByteArray("KSX\x1A") << -1 << 0;
    QTest::newRow("version 0") << ListBytes().header(0, 1).raw(oneRecord).bytes() << -1 << 1;
    QTest::newRow("version 256") << ListBytes().header(256, 1).raw(oneRecord).bytes() << -1 << 1;
    QTest::newRow("version negative")
        << ListBytes().header(INT32_MIN, 1).raw(oneRecord).bytes() << -1 << 1;
    QTest::newRow("version 257") << ListBytes().header(257, 1).raw(oneRecord).bytes() << 2 << 0;
    QTest::newRow("version largest")
        << ListBytes().header(INT32_MAX, 1).raw(oneRecord).bytes() << 2 << 0;
}

void TestKsxFile::headerDecidesWhetherTheFileLoads() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, error);
    QFETCH(int, rows);
    WriteAll(path("list.ksx"), bytes);
    const PlaylistReadResult read = ReadPlaylistFile(path("list.ksx"));
    QCOMPARE(read.error ? int(*read.error) : -1, error);
    QCOMPARE(read.rows.size(), rows);
}

void TestKsxFile::countAndEndOfFileDisagree_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("rows");

    const QByteArray golden = GoldenFile();
    QTest::newRow("ends inside the count") << golden.left(10) << 0;
    QTest::newRow("ends before the reserved word") << golden.left(12) << 0;
    QTest::newRow("ends inside the first record") << golden.left(16 + 303) << 0;
    QTest::newRow("ends after the first record") << golden.left(16 + 304) << 1;
    QTest::newRow("ends inside the third record") << golden.left(16 + 2 * 304 + 260) << 2;
    QTest::newRow("count far beyond the file")
        << GoldenRecords(ListBytes().header(256, 1000000000)).bytes() << 3;
    QTest::newRow("largest count")
        << GoldenRecords(ListBytes().header(256, INT32_MAX)).bytes() << 3;
    QTest::newRow("count below the records")
        << GoldenRecords(ListBytes().header(256, 2)).bytes() << 2;
    QTest::newRow("count -1") << GoldenRecords(ListBytes().header(256, -1)).bytes() << 0;
    QTest::newRow("smallest count")
        << GoldenRecords(ListBytes().header(256, INT32_MIN)).bytes() << 0;
}

void TestKsxFile::countAndEndOfFileDisagree() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, rows);
    WriteAll(path("list.ksx"), bytes);
    const PlaylistReadResult read = ReadPlaylistFile(path("list.ksx"));
    QVERIFY(!read.error);
    QCOMPARE(read.rows, GoldenRows.first(rows));
}

void TestKsxFile::blankKeepsItsDuration() {
    // A blank as the blank dialog leaves it after 90 seconds were entered.
    PlaylistItem blank = NewBlankItem();
    blank.subItems[SubTime] = "0:01:30.000";
    blank.subItems[SubLengthMs] = "90000";
    QCOMPARE(WritePlaylistFile(path("blank.ksx"), {blank}).outcome, PlaylistWriteResult::Written);
    const PlaylistReadResult read = ReadPlaylistFile(path("blank.ksx"));
    QVERIFY(!read.error);
    QCOMPARE(read.rows, QList{Row("空白", "0:01:30.000|0,0|0,0|0,0|0%|0%|1|90000|0|0|0|0|0|0")});
    QCOMPARE(read.rows[0].subItems.mid(1, 7), blank.subItems.mid(1, 7));
}

void TestKsxFile::namesSurviveSaveAndLoad_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QByteArray>("stored");

    const QByteArray utf8Mark("\xEF\xBB\xBF");
    QTest::newRow("backslash and tilde")
        << "C:\\MOVIES\\CLIP~1.AVI" << QByteArray("C:\\MOVIES\\CLIP~1.AVI");
    QTest::newRow("kanji and NEC sign")
        << "D:\\①回目.mpg" << QByteArray::fromHex("443a5c874089f196da2e6d7067");
    QTest::newRow("half-width katakana")
        << "/動画/ｶﾀｶﾅ~" << QByteArray::fromHex("2f93ae89e62fb6c0b6c57e");
    QTest::newRow("fullwidth tilde") << "/a～b" << QByteArray::fromHex("2f61816062");
    // CP932 would store these as bytes that read back as another character, or cannot store them.
    QTest::newRow("yen sign") << "/media/¥100.avi" << utf8Mark + "/media/¥100.avi";
    QTest::newRow("wave dash") << "/media/〜.avi" << utf8Mark + "/media/〜.avi";
    QTest::newRow("overline") << "/media/a‾b.mpg" << utf8Mark + "/media/a‾b.mpg";
    QTest::newRow("accent") << "/home/zoë/café.mov" << utf8Mark + "/home/zoë/café.mov";
    QTest::newRow("byte order mark")
        << QChar(0xFEFF) + QStringLiteral("clip.avi") << utf8Mark + utf8Mark + "clip.avi";
    QTest::newRow("outside the BMP") << "/tmp/😀①.avi" << utf8Mark + "/tmp/😀①.avi";
}

void TestKsxFile::namesSurviveSaveAndLoad() {
    QFETCH(QString, caption);
    QFETCH(QByteArray, stored);
    const PlaylistItem row = NewMovieItem(caption, 1000, {1, 1}, {1, 1}, {0, 0}, 50, 50);
    QCOMPARE(WritePlaylistFile(path("names.ksx"), {row}).outcome, PlaylistWriteResult::Written);
    QByteArray field = stored;
    field.resize(256, '\0');
    QCOMPARE(ReadAll(path("names.ksx")).mid(16, 256).toHex(' '), field.toHex(' '));
    const PlaylistReadResult read = ReadPlaylistFile(path("names.ksx"));
    QCOMPARE(read.rows, QList{row});
}

void TestKsxFile::captionThatDoesNotFitIsRefused_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("fits");

    QTest::newRow("255 bytes") << QString(255, 'a') << true;
    QTest::newRow("256 bytes") << QString(256, 'a') << false;
    QTest::newRow("127 kanji") << QString(127, u'画') << true;
    QTest::newRow("128 kanji") << QString(128, u'画') << false;
    // Stored as UTF-8: the mark and two bytes for each character.
    QTest::newRow("mark and 126 accents") << QString(126, u'é') << true;
    QTest::newRow("mark and 127 accents") << QString(127, u'é') << false;
    QTest::newRow("zero character") << QStringLiteral("a") + QChar(0) + "b" << false;
}

void TestKsxFile::captionThatDoesNotFitIsRefused() {
    QFETCH(QString, caption);
    QFETCH(bool, fits);
    WriteAll(path("old.ksx"), GoldenFile());
    const QList<PlaylistItem> rows{
        NewBlankItem(), NewMovieItem(caption, 1000, {1, 1}, {1, 1}, {0, 0}, 0, 0), NewBlankItem()};
    const PlaylistWriteResult written = WritePlaylistFile(path("old.ksx"), rows);
    if (fits) {
        QCOMPARE(written.outcome, PlaylistWriteResult::Written);
        QCOMPARE(ReadPlaylistFile(path("old.ksx")).rows.value(1).caption, caption);
        return;
    }
    QCOMPARE(written.outcome, PlaylistWriteResult::NameDoesNotFit);
    QCOMPARE(written.row, 1);
    QCOMPARE(ReadAll(path("old.ksx")), GoldenFile());
    QCOMPARE(Entries(dir_->path()), QStringList{"old.ksx"});
    QVERIFY(NameDoesNotFitText(written.row, caption).startsWith("2行目"));
}

void TestKsxFile::failedSaveKeepsTheOldFile_data() {
    QTest::addColumn<int>("limit"); // bytes a file may grow to

    QTest::newRow("nothing written") << 0;
    QTest::newRow("inside the header") << 9;
    QTest::newRow("inside a record") << 16 + 304 + 100;
    QTest::newRow("one byte short") << 16 + 304 * 10 - 1;
}

void TestKsxFile::failedSaveKeepsTheOldFile() {
    QFETCH(int, limit);
    WriteAll(path("old.ksx"), GoldenFile());
    const QList<PlaylistItem> rows(10,
                                   NewMovieItem("/v/m.avi", 1000, {1, 1}, {1, 1}, {0, 0}, 0, 0));
    PlaylistWriteResult written;
    {
        FileSizeLimit full(static_cast<rlim_t>(limit));
        written = WritePlaylistFile(path("old.ksx"), rows);
    }
    QCOMPARE(written.outcome, PlaylistWriteResult::SaveFailed);
    QCOMPARE(ReadAll(path("old.ksx")), GoldenFile());
    QCOMPARE(Entries(dir_->path()), QStringList{"old.ksx"});
    // With room again the same save goes through.
    QCOMPARE(WritePlaylistFile(path("old.ksx"), rows).outcome, PlaylistWriteResult::Written);
    QCOMPARE(ReadAll(path("old.ksx")).size(), 16 + 304 * 10);
}

void TestKsxFile::targetThatIsNoFileIsLeftAlone_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing folder") << "missing";
    QTest::newRow("folder") << "folder";
    QTest::newRow("pipe") << "pipe";
}

void TestKsxFile::targetThatIsNoFileIsLeftAlone() {
    QFETCH(QString, kind);
    QString target = path("target");
    if (kind == "missing") {
        target = path("missing/list.ksx");
    } else if (kind == "folder") {
        QVERIFY(QDir(dir_->path()).mkdir("target"));
    } else {
        QCOMPARE(mkfifo(QFile::encodeName(target).constData(), 0600), 0);
    }
    const QStringList before = Entries(dir_->path());
    QCOMPARE(WritePlaylistFile(target, {NewBlankItem()}).outcome, PlaylistWriteResult::SaveFailed);
    QCOMPARE(Entries(dir_->path()), before);
    QCOMPARE(QFileInfo(target).isDir(), kind == "folder");
}

void TestKsxFile::unreadableFileFailsToOpen_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("missing file") << "missing.ksx";
    QTest::newRow("folder") << ".";
}

void TestKsxFile::unreadableFileFailsToOpen() {
    QFETCH(QString, name);
    const PlaylistReadResult read = ReadPlaylistFile(path(name));
    QCOMPARE(read.error ? int(*read.error) : -1, int(ListOpenFailed));
    QVERIFY(read.rows.isEmpty());
}

void TestKsxFile::savingKeepsModeAndLink() {
    WriteAll(path("list.ksx"), GoldenFile());
    QCOMPARE(chmod(QFile::encodeName(path("list.ksx")).constData(), 0640), 0);
    QVERIFY(QFile::link(path("list.ksx"), path("link.ksx")));

    QCOMPARE(WritePlaylistFile(path("link.ksx"), {NewBlankItem()}).outcome,
             PlaylistWriteResult::Written);
    QVERIFY(QFileInfo(path("link.ksx")).isSymLink());
    QCOMPARE(ReadPlaylistFile(path("list.ksx")).rows.size(), 1);
    struct stat info {};
    QCOMPARE(stat(QFile::encodeName(path("list.ksx")).constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, 0640u);
    QCOMPARE(Entries(dir_->path()), (QStringList{"link.ksx", "list.ksx"}));
}

QTEST_GUILESS_MAIN(TestKsxFile)
#include "tst_ksxfile.moc"
