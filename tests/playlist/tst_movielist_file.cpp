// Saving and loading the playlist from its window: the file dialogs, the overwrite and load
// questions, the error codes with the file already closed, and the rows loading makes.

#include "app/formatduration.h"
#include "playlist/ksxfile.h"
#include "playlist/movielist.h"
#include "playlist/totaltime.h"
#include "support/modal.h"
#include "support/playlistwindow.h"
#include "support/testenv.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>

namespace {

const QString Blank = QStringLiteral("空白");

// Whether this process holds the file open.
bool heldOpen(const QString& path) {
    const QString target = QFileInfo(path).canonicalFilePath();
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : fds.entryList(QDir::Files | QDir::System)) {
        const QString link = QFile::symLinkTarget(fds.filePath(fd));
        if (!link.isEmpty() && link == target)
            return true;
    }
    return false;
}

// Answers the next box with OK, noting its caption and text and whether the file was still open.
void noteNextBox(QStringList* seen, const QString& file = {}) {
    OnNextModal([seen, file](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        *seen << box->windowTitle() << box->text();
        if (!file.isEmpty())
            *seen << (heldOpen(file) ? QStringLiteral("open") : QStringLiteral("closed"));
        box->button(QMessageBox::Ok)->click();
    });
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray listBytes(const QList<PlaylistItem>& rows) {
    std::vector<KsxRecord> records;
    for (const PlaylistItem& row : rows)
        records.push_back(*RecordFromItem(row));
    const std::vector<unsigned char> bytes = EncodePlaylist(records);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

} // namespace

class TestMovieListFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void savedListLoadsBack();
    void overwriteAsks_data();
    void overwriteAsks();
    void failedSaveReported_data();
    void failedSaveReported();
    void refusedLoadLeavesTheList_data();
    void refusedLoadLeavesTheList();
    void loadQuestion_data();
    void loadQuestion();
    void loadAppendsInFileOrder();

private:
    QString path(const QString& name) const { return dir_->filePath(name); }

    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<QTemporaryDir> dir_;
    TMovieList* list_ = nullptr;
};

void TestMovieListFile::init() {
    env_ = std::make_unique<TestEnvironment>();
    dir_ = std::make_unique<QTemporaryDir>();
    TotalTime = 0;
    list_ = new TMovieList;
    MovieList = list_;
    list_->show();
    QVERIFY(QTest::qWaitForWindowExposed(list_));
}

void TestMovieListFile::cleanup() {
    delete list_;
    MovieList = list_ = nullptr;
    QCOMPARE(PendingModalActions(), 0);
    ClearModalActions();
    dir_.reset();
    env_.reset();
}

void TestMovieListFile::savedListLoadsBack() {
    PlaylistItem typed = MovieRow(QStringLiteral("/movies/番組.avi"), 90000);
    // Display texts as the properties dialog leaves them: saved as the numbers they begin with.
    typed.subItems[SubShowSizeX] = QStringLiteral("6 4");
    typed.subItems[SubShowPosY] = QStringLiteral("-12");
    typed.subItems[SubMasterVol] = QStringLiteral("%");
    const QList<PlaylistItem> rows{typed, BlankRow(2500), NewBlankItem()};
    list_->replaceRows(rows);

    // A name without an extension gets KSX.
    ChooseFileInNextDialog(path(QStringLiteral("list")));
    QTest::mouseClick(list_->Save, Qt::LeftButton);
    const QString saved = path(QStringLiteral("list.KSX"));
    QCOMPARE(QFileInfo(saved).size(), qint64{16 + 304 * 3});
    QCOMPARE(list_->rows(), rows);

    list_->replaceRows({MovieRow(QStringLiteral("other"), 1000)});
    PressOnNextModal(QStringLiteral("Yes"));
    ChooseFileInNextDialog(saved);
    QTest::mouseClick(list_->Load, Qt::LeftButton);

    const QList<PlaylistItem> loaded = list_->rows();
    QCOMPARE(loaded.size(), 3);
    QCOMPARE(loaded[0].caption, typed.caption);
    QCOMPARE(loaded[0].subItems,
             (QStringList{"0:01:30.000", "160,120", "6,240", "0,-12", "0%", "50%", "0", "90000",
                          "160", "120", "6", "240", "0", "-12"}));
    // Blanks come back with the columns of a new blank, their length kept.
    const QStringList blankVisible{"0,0", "0,0", "0,0", "0%", "0%", "1"};
    QCOMPARE(loaded[1].caption, Blank);
    QCOMPARE(loaded[1].subItems.mid(0, 1), QStringList{"0:00:02.500"});
    QCOMPARE(loaded[1].subItems.mid(1, 6), blankVisible);
    QCOMPARE(loaded[1].subItems.mid(7), (QStringList{"2500", "0", "0", "0", "0", "0", "0"}));
    QCOMPARE(loaded[2].subItems.mid(0, 8), NewBlankItem().subItems);
    QCOMPARE(TotalTime, 90000 + 2500 + 2000);
    QCOMPARE(list_->AllTime->text(), QStringLiteral("0:01:34.500"));
}

void TestMovieListFile::overwriteAsks_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("yes") << "Yes" << true;
    QTest::newRow("no") << "No" << false;
}

void TestMovieListFile::overwriteAsks() {
    QFETCH(QString, answer);
    QFETCH(bool, replaced);
    const QString file = path(QStringLiteral("old.KSX"));
    const QByteArray old("an older file");
    QVERIFY(writeAll(file, old));
    list_->replaceRows({BlankRow(3000)});

    ChooseFileInNextDialog(file);
    QStringList asked;
    PressOnNextModal(answer, &asked);
    if (!replaced)
        PressOnNextModal(QStringLiteral("Cancel"));
    QTest::mouseClick(list_->Save, Qt::LeftButton);

    QVERIFY(asked.join(QLatin1Char(' ')).contains(QStringLiteral("old.KSX")));
    QCOMPARE(readAll(file), replaced ? listBytes({BlankRow(3000)}) : old);
}

void TestMovieListFile::failedSaveReported_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("box");

    // Nothing can be created in /proc, not even by root.
    QTest::newRow("file cannot be made")
        << "movie.avi"
        << "/proc/kestrune-list.KSX" << QStringList{"Error", "リストのセーブに失敗しました"};
    const QString longName = QStringLiteral("/m/") + QString(300, QLatin1Char('x'));
    QTest::newRow("name longer than its field")
        << longName << "" << QStringList{"Error", NameDoesNotFitText(0, longName)};
}

void TestMovieListFile::failedSaveReported() {
    QFETCH(QString, caption);
    QFETCH(QString, target);
    QFETCH(QStringList, box);
    if (target.isEmpty())
        target = path(QStringLiteral("long.KSX"));
    const QList<PlaylistItem> rows{MovieRow(caption, 1000), BlankRow(2000)};
    list_->replaceRows(rows);

    ChooseFileInNextDialog(target);
    QStringList seen;
    noteNextBox(&seen);
    QTest::mouseClick(list_->Save, Qt::LeftButton);

    QCOMPARE(seen, box);
    QVERIFY(!QFileInfo::exists(target));
    QCOMPARE(list_->rows(), rows);
}

void TestMovieListFile::refusedLoadLeavesTheList_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("vanishes");
    QTest::addColumn<QString>("text");

    QByteArray otherVersion = listBytes({BlankRow(1000)});
    otherVersion[4] = 0x01;
    otherVersion[5] = 0x01; // 257
    QTest::newRow("gone before it is read")
        << listBytes({BlankRow(1000)}) << true << "リストのオープンに失敗しました";
    QTest::newRow("not a list") << QByteArray("KSY\x1a and more") << false
                                << "このファイルはリストファイルではありません";
    QTest::newRow("shorter than the magic")
        << QByteArray("KS") << false << "このファイルはリストファイルではありません";
    QTest::newRow("version 257") << otherVersion << false << "このリストはバージョンが違います";
}

void TestMovieListFile::refusedLoadLeavesTheList() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, vanishes);
    QFETCH(QString, text);
    const QString file = path(QStringLiteral("refused.KSX"));
    QVERIFY(writeAll(file, bytes));
    const QList<PlaylistItem> rows{MovieRow(QStringLiteral("kept.avi"), 4000), BlankRow(2000)};
    list_->replaceRows(rows);
    list_->ListView->topLevelItem(1)->setSelected(true);

    PressOnNextModal(QStringLiteral("Yes"));
    OnNextModal([file, vanishes](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog);
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(file);
        static_cast<QDialog*>(dialog)->accept();
        if (vanishes)
            QFile::remove(file);
    });
    QStringList seen;
    noteNextBox(&seen, vanishes ? QString() : file);
    QTest::mouseClick(list_->Load, Qt::LeftButton);

    QStringList expected{"Error", text};
    if (!vanishes)
        expected << QStringLiteral("closed");
    QCOMPARE(seen, expected);
    QCOMPARE(list_->rows(), rows);
    QCOMPARE(TotalTime, 6000);
    QCOMPARE(list_->AllTime->text(), QStringLiteral("0:00:06.000"));
}

void TestMovieListFile::loadQuestion_data() {
    QTest::addColumn<bool>("rowsBefore");
    QTest::addColumn<QString>("answer"); // to the question; empty: no question expected
    QTest::addColumn<bool>("chosen");    // the file dialog confirmed
    QTest::addColumn<bool>("replaced");

    QTest::newRow("no") << true << "No" << false << false;
    QTest::newRow("yes, dialog cancelled") << true << "Yes" << false << false;
    QTest::newRow("yes") << true << "Yes" << true << true;
    QTest::newRow("empty list: no question") << false << "" << true << true;
}

void TestMovieListFile::loadQuestion() {
    QFETCH(bool, rowsBefore);
    QFETCH(QString, answer);
    QFETCH(bool, chosen);
    QFETCH(bool, replaced);
    const QString file = path(QStringLiteral("list.KSX"));
    QVERIFY(writeAll(file, listBytes({BlankRow(7000)})));
    const QList<PlaylistItem> before =
        rowsBefore ? QList<PlaylistItem>{MovieRow(QStringLiteral("a.avi"), 1000)}
                   : QList<PlaylistItem>{};
    list_->replaceRows(before);

    QStringList asked;
    if (!answer.isEmpty()) {
        OnNextModal([&asked, answer](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            asked << box->windowTitle() << box->text();
            QVERIFY(box->defaultButton() == box->button(QMessageBox::No));
            ClickButton(box, answer);
        });
    }
    const bool dialogShown = answer != QLatin1String("No");
    if (dialogShown && chosen)
        ChooseFileInNextDialog(file);
    else if (dialogShown)
        PressOnNextModal(QStringLiteral("Cancel"));
    QTest::mouseClick(list_->Load, Qt::LeftButton);

    if (!answer.isEmpty())
        QCOMPARE(asked, (QStringList{"Load", "現在あるリストが消滅しますがよろしいですか？"}));
    QCOMPARE(CaptionsOf(*list_),
             replaced ? QStringList{Blank} : (rowsBefore ? QStringList{"a.avi"} : QStringList{}));
    QCOMPARE(TotalTime, replaced ? 7000 : (rowsBefore ? 1000 : 0));
}

void TestMovieListFile::loadAppendsInFileOrder() {
    const QString file = path(QStringLiteral("order.KSX"));
    QVERIFY(writeAll(file, listBytes({MovieRow(QStringLiteral("A"), 1000), BlankRow(3000),
                                      MovieRow(QStringLiteral("B"), 5000)})));
    list_->replaceRows({MovieRow(QStringLiteral("X"), 1), MovieRow(QStringLiteral("Y"), 1)});
    list_->ListView->topLevelItem(1)->setSelected(true);
    PressOnNextModal(QStringLiteral("Yes"));
    ChooseFileInNextDialog(file);
    QTest::mouseClick(list_->Load, Qt::LeftButton);

    QCOMPARE(CaptionsOf(*list_), (QStringList{"A", Blank, "B"}));
    QCOMPARE(TotalTime, 9000);

    // An empty list file empties the list.
    const QString empty = path(QStringLiteral("empty.KSX"));
    QVERIFY(writeAll(empty, listBytes({})));
    PressOnNextModal(QStringLiteral("Yes"));
    ChooseFileInNextDialog(empty);
    QTest::mouseClick(list_->Load, Qt::LeftButton);
    QCOMPARE(list_->rowCount(), 0);
    QCOMPARE(TotalTime, 0);
    QCOMPARE(list_->AllTime->text(), QStringLiteral("0:00:00.000"));
}

QTEST_MAIN(TestMovieListFile)
#include "tst_movielist_file.moc"
