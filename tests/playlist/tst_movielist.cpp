// The playlist window: adding movies (by dialog and by dropping) and blanks, the insertion point,
// deleting, the running total and the two item dialogs, with real movie files.

#include "app/formatduration.h"
#include "app/hooks.h"
#include "app/settingsstore.h"
#include "audio/mixer.h"
#include "platform/mediaplayer.h"
#include "playlist/blankset.h"
#include "playlist/movielist.h"
#include "playlist/movsetup.h"
#include "playlist/totaltime.h"
#include "support/fixtures.h"
#include "support/mixerdouble.h"
#include "support/mixersetup.h"
#include "support/modal.h"
#include "support/playlistwindow.h"
#include "support/testenv.h"
#include "support/typing.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>
#include <numeric>

namespace {

const QString BlankCaption = QStringLiteral("空白");
const QString TimeMessage = QStringLiteral("時間設定が異常です。");

// A short Motion JPEG AVI of that frame size: five frames at 25 per second.
QString makeMovie(const QString& folder, QSize size) {
    const QString path =
        QStringLiteral("%1/%2x%3.avi").arg(folder).arg(size.width()).arg(size.height());
    QProcess gst;
    gst.start(QStringLiteral("gst-launch-1.0"),
              {QStringLiteral("-q"), QStringLiteral("videotestsrc"),
               QStringLiteral("num-buffers=5"), QStringLiteral("!"),
               QStringLiteral("video/x-raw,width=%1,height=%2,framerate=25/1")
                   .arg(size.width())
                   .arg(size.height()),
               QStringLiteral("!"), QStringLiteral("jpegenc"), QStringLiteral("!"),
               QStringLiteral("avimux"), QStringLiteral("!"), QStringLiteral("filesink"),
               QStringLiteral("location=") + path});
    if (!gst.waitForFinished(60000) || gst.exitCode() != 0)
        return {};
    return path;
}

QList<PlaylistItem> movieRows(const QStringList& captions, int lengthMs = 1000) {
    QList<PlaylistItem> rows;
    for (const QString& caption : captions)
        rows << MovieRow(caption, lengthMs);
    return rows;
}

QString selectedCaption(const TMovieList& list) {
    const QList<QTreeWidgetItem*> selected = list.ListView->selectedItems();
    return selected.isEmpty() ? QString() : selected.constFirst()->text(0);
}

void select(TMovieList& list, int index) {
    list.ListView->clearSelection();
    if (index >= 0)
        list.ListView->topLevelItem(index)->setSelected(true);
}

// The caption and the six visible texts of a row, as the list view shows them.
QStringList shownTexts(const TMovieList& list, int index) {
    QStringList texts;
    const QTreeWidgetItem* item = list.ListView->topLevelItem(index);
    for (int column = 0; column < list.ListView->columnCount(); ++column)
        texts << item->text(column);
    return texts;
}

void replaceText(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

} // namespace

class TestMovieList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void laidOutAsTheForm();
    void newBlankRow();
    void insertionPoint_data();
    void insertionPoint();
    void appendedRowComesIntoView();
    void deleteAndClear_data();
    void deleteAndClear();
    void addedMovieIsProbedAndPlaced_data();
    void addedMovieIsProbedAndPlaced();
    void unopenableMovieAddsNothing_data();
    void unopenableMovieAddsNothing();
    void movieAddDialog();
    void dropAddsEveryFileInOrder_data();
    void dropAddsEveryFileInOrder();
    void longDroppedPathTakenWhole();
    void blankDialog_data();
    void blankDialog();
    void movieDialog_data();
    void movieDialog();
    void totalPinnedAtItsEndRecovers();

private:
    QString movie(const QString& key) const { return movies_.value(key); }

    QTemporaryDir dir_;
    QMap<QString, QString> movies_;
    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<MixerDouble> mixer_;
    std::unique_ptr<UseMixerDevices> useMixer_;
    TMovieList* list_ = nullptr;
    QStringList notices_;
};

void TestMovieList::initTestCase() {
    QVERIFY(dir_.isValid());
    for (const QSize size : {QSize(100, 100), QSize(400, 300)}) {
        const QString path = makeMovie(dir_.path(), size);
        QVERIFY2(!path.isEmpty(), "test movie could not be made");
        movies_.insert(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()), path);
    }
    movies_.insert(QStringLiteral("160x120"), Fixture(FixtureKind::MotionJpegAvi));
    movies_.insert(QStringLiteral("broken"), Fixture(FixtureKind::NotAMovie));
    movies_.insert(QStringLiteral("missing"), dir_.filePath(QStringLiteral("missing.avi")));
    QVERIFY(!movie(QStringLiteral("160x120")).isEmpty());
    QVERIFY(!movie(QStringLiteral("broken")).isEmpty());
    // Distinct names for one movie, so rows can be told apart.
    for (const QString name : {"a", "b", "c"}) {
        const QString copy = dir_.filePath(name + QStringLiteral(".avi"));
        QVERIFY(QFile::copy(movie(QStringLiteral("100x100")), copy));
        movies_.insert(name, copy);
    }
}

void TestMovieList::init() {
    env_ = std::make_unique<TestEnvironment>();
    TotalTime = 0;
    mixer_ = std::make_unique<MixerDouble>(DoubleDevices{PlainDevice(1, 2, 3)});
    useMixer_ = std::make_unique<UseMixerDevices>(mixer_.get());
    QVERIFY(OpenMixerClosingErrors().completed);
    SetMasterVolume(75);
    SetWaveVolume(50);
    notices_.clear();
    ShowOpeningNotice = [this] {
        notices_ << QStringLiteral("show");
    };
    HideOpeningNotice = [this] {
        notices_ << QStringLiteral("hide");
    };
    list_ = new TMovieList;
    MovieList = list_;
    BlankSet = new TBlankSet;
    MovSetup = new TMovSetup;
    list_->show();
    QVERIFY(QTest::qWaitForWindowExposed(list_));
}

void TestMovieList::cleanup() {
    delete MovSetup;
    delete BlankSet;
    delete list_;
    MovSetup = nullptr;
    BlankSet = nullptr;
    MovieList = list_ = nullptr;
    ShowOpeningNotice = nullptr;
    HideOpeningNotice = nullptr;
    QCOMPARE(PendingModalActions(), 0);
    ClearModalActions();
    useMixer_.reset();
    mixer_.reset();
    env_.reset();
}

void TestMovieList::laidOutAsTheForm() {
    TMovieList& l = *list_;
    QCOMPARE(l.windowTitle(), QStringLiteral("MovieList"));
    QCOMPARE(l.size(), QSize(629, 318));
    QCOMPARE(l.minimumSize(), l.maximumSize());
    QCOMPARE(l.ListView->geometry(), QRect(0, 0, 625, 249));
    QCOMPARE(l.ListView->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(l.ListView->editTriggers(), QAbstractItemView::NoEditTriggers);

    const QStringList captions{"ファイル名", "時間",    "ﾑｰﾋﾞｰｻｲｽﾞ", "表示ｻｲｽﾞ",
                               "表示位置",   "ﾏｽﾀVol.", "WaveVol."};
    const QList<int> widths{140, 86, 84, 80, 72, 62, 70};
    QCOMPARE(l.ListView->columnCount(), captions.size());
    for (int c = 0; c < captions.size(); ++c) {
        QCOMPARE(l.ListView->headerItem()->text(c), captions[c]);
        QCOMPARE(l.ListView->header()->sectionSize(c), widths[c]);
        const Qt::Alignment horizontal =
            Qt::Alignment(l.ListView->headerItem()->textAlignment(c)) & Qt::AlignHorizontal_Mask;
        QCOMPARE(horizontal, c == 0 ? Qt::AlignLeading : Qt::AlignHCenter);
    }

    const struct {
        QPushButton* button;
        const char* text;
        QPoint at;
    } buttons[] = {{l.MovieAdd, "ﾑｰﾋﾞｰ追加", {8, 256}}, {l.BlankAdd, "空白追加", {88, 256}},
                   {l.Setup, "プロパティ", {168, 256}}, {l.Delete, "削除", {248, 256}},
                   {l.AllClear, "全削除", {328, 256}},  {l.Save, "Save", {8, 288}},
                   {l.Load, "Load", {88, 288}},         {l.Play, "再生", {464, 288}},
                   {l.Cancel, "閉じる", {544, 288}}};
    for (const auto& b : buttons) {
        QCOMPARE(b.button->text(), QString::fromUtf8(b.text));
        QCOMPARE(b.button->geometry(), QRect(b.at, QSize(75, 25)));
        QVERIFY(b.button->isEnabled());
        // Return in the list must not add a movie: no button is the default.
        QVERIFY(!b.button->autoDefault() && !b.button->isDefault());
    }
    QCOMPARE(l.Label1->text(), QStringLiteral("総時間"));
    QCOMPARE(l.Label1->x(), 440);
    QCOMPARE(l.AllTime->x(), 512);
    QCOMPARE(l.AllTime->font().pixelSize(), 19);
    QCOMPARE(l.ListView->font().pixelSize(), 15);
    QCOMPARE(l.AllTime->text(), QStringLiteral("00:00:00.000"));
    QVERIFY(l.acceptDrops());

    QCOMPARE(l.OpenDialog->nameFilters(),
             (QStringList{"Movie File (*.AVI *.MOV *.MPG *.MPEG)", "AVI File (*.AVI)",
                          "QuickTime File (*.MOV)", "MPEG File (*.MPG *.MPEG)", "All File (*)"}));
    QCOMPARE(l.SaveDialog->acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(l.SaveDialog->defaultSuffix(), QStringLiteral("KSX"));
    QVERIFY(!l.SaveDialog->testOption(QFileDialog::DontConfirmOverwrite));
    QCOMPARE(l.LoadDialog->acceptMode(), QFileDialog::AcceptOpen);
    QVERIFY(l.LoadDialog->defaultSuffix().isEmpty());
    QCOMPARE(l.LoadDialog->nameFilters(), QStringList{"Kestrune List (*.KSX)"});

    // Play and Close leave the window with OK and Cancel.
    for (const auto& [button, result] : {std::pair{l.Play, 1}, std::pair{l.Cancel, 0}}) {
        QTimer::singleShot(0, button, &QPushButton::click);
        QCOMPARE(l.exec(), result);
    }
}

void TestMovieList::newBlankRow() {
    QTest::mouseClick(list_->BlankAdd, Qt::LeftButton);
    QCOMPARE(shownTexts(*list_, 0),
             (QStringList{BlankCaption, "0:00:02.000", "0,0", "0,0", "0,0", "0%", "0%"}));
    QCOMPARE(list_->row(0), NewBlankItem());
    QCOMPARE(TotalTime, 2000);
    QCOMPARE(list_->AllTime->text(), QStringLiteral("0:00:02.000"));
    QTest::mouseClick(list_->BlankAdd, Qt::LeftButton);
    QCOMPARE(TotalTime, 4000);
    QCOMPARE(list_->AllTime->text(), QStringLiteral("0:00:04.000"));
}

void TestMovieList::insertionPoint_data() {
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("selected");
    // "blank" adds a blank, "movie" adds the movie c.avi through the probe.
    QTest::addColumn<QStringList>("adds");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("selectedAfter");

    const QString c = QStringLiteral("c");
    const QStringList abc{"A", "B", "C"};
    QTest::newRow("none selected: blank at the end")
        << abc << -1 << QStringList{"blank"} << QStringList{"A", "B", "C", BlankCaption}
        << QString();
    QTest::newRow("none selected: movie at the end")
        << abc << -1 << QStringList{"movie"} << QStringList{"A", "B", "C", c} << QString();
    QTest::newRow("second selected: above it in the order added")
        << abc << 1 << QStringList{"blank", "movie"} << QStringList{"A", BlankCaption, c, "B", "C"}
        << "B";
    QTest::newRow("first selected")
        << abc << 0 << QStringList{"movie"} << QStringList{c, "A", "B", "C"} << "A";
    QTest::newRow("last selected")
        << abc << 2 << QStringList{"blank"} << QStringList{"A", "B", BlankCaption, "C"} << "C";
    QTest::newRow("empty list") << QStringList{} << -1 << QStringList{"blank", "blank"}
                                << QStringList{BlankCaption, BlankCaption} << QString();
}

void TestMovieList::insertionPoint() {
    QFETCH(QStringList, rows);
    QFETCH(int, selected);
    QFETCH(QStringList, adds);
    QFETCH(QStringList, expected);
    QFETCH(QString, selectedAfter);

    list_->replaceRows(movieRows(rows));
    select(*list_, selected);
    for (const QString& add : adds) {
        if (add == QLatin1String("blank"))
            list_->BlankAddClick();
        else
            list_->AddMovie(movie(QStringLiteral("c")));
    }
    QStringList captions = CaptionsOf(*list_);
    captions.replaceInStrings(movie(QStringLiteral("c")), QStringLiteral("c"));
    QCOMPARE(captions, expected);
    QCOMPARE(selectedCaption(*list_), selectedAfter);
    int64_t sum = 0;
    for (const PlaylistItem& row : list_->rows())
        sum += SubItemNumber(row, SubLengthMs);
    QCOMPARE(int64_t{TotalTime}, sum);
    QCOMPARE(list_->AllTime->text(), FormatDuration(sum));
}

void TestMovieList::appendedRowComesIntoView() {
    QTreeWidget* view = list_->ListView;
    const auto lastRowShown = [view] {
        const QRect last = view->visualItemRect(view->topLevelItem(view->topLevelItemCount() - 1));
        return view->viewport()->rect().contains(last);
    };
    for (int i = 0; i < 40; ++i) {
        list_->BlankAddClick();
        QVERIFY2(lastRowShown(), qPrintable(QStringLiteral("row %1").arg(i + 1)));
    }
    QVERIFY(view->verticalScrollBar()->value() > 0);
    // Scrolled back to the top, the next row appended still comes into view.
    view->verticalScrollBar()->setValue(0);
    list_->AddMovie(movie(QStringLiteral("a")));
    QVERIFY(lastRowShown());
    // A row inserted above a selection does not move the list.
    select(*list_, 0);
    view->verticalScrollBar()->setValue(0);
    list_->BlankAddClick();
    QCOMPARE(view->verticalScrollBar()->value(), 0);
}

void TestMovieList::deleteAndClear_data() {
    QTest::addColumn<QList<int>>("lengths");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("action"); // "delete", "clear yes", "clear no"
    QTest::addColumn<QList<int>>("remaining");
    QTest::addColumn<QString>("label");

    const QList<int> three{2000, 3000, 4000};
    QTest::newRow("delete the only row")
        << QList<int>{2000} << 0 << "delete" << QList<int>{} << "0:00:00.000";
    QTest::newRow("delete the middle row")
        << three << 1 << "delete" << QList<int>{2000, 4000} << "0:00:06.000";
    QTest::newRow("delete with nothing selected")
        << three << -1 << "delete" << three << "0:00:09.000";
    QTest::newRow("delete all, yes") << three << 1 << "clear yes" << QList<int>{} << "00:00:00.000";
    QTest::newRow("delete all, no") << three << 1 << "clear no" << three << "0:00:09.000";
    QTest::newRow("delete all of nothing, yes")
        << QList<int>{} << -1 << "clear yes" << QList<int>{} << "00:00:00.000";
}

void TestMovieList::deleteAndClear() {
    QFETCH(QList<int>, lengths);
    QFETCH(int, selected);
    QFETCH(QString, action);
    QFETCH(QList<int>, remaining);
    QFETCH(QString, label);

    QList<PlaylistItem> rows;
    for (int length : lengths)
        rows << MovieRow(QString::number(length), length);
    list_->replaceRows(rows);
    select(*list_, selected);

    if (action == QLatin1String("delete")) {
        QTest::mouseClick(list_->Delete, Qt::LeftButton);
    } else {
        QStringList asked;
        OnNextModal([&asked, action](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            asked << box->windowTitle() << box->text();
            QVERIFY(box->defaultButton() == box->button(QMessageBox::No));
            QCOMPARE(box->icon(), QMessageBox::Question);
            box->button(action == QLatin1String("clear yes") ? QMessageBox::Yes : QMessageBox::No)
                ->click();
        });
        QTest::mouseClick(list_->AllClear, Qt::LeftButton);
        QCOMPARE(asked, (QStringList{"全削除", "全削除してよろしいですか？"}));
    }
    QList<int> left;
    for (const PlaylistItem& row : list_->rows())
        left << SubItemNumber(row, SubLengthMs);
    QCOMPARE(left, remaining);
    QCOMPARE(list_->AllTime->text(), label);
    QCOMPARE(TotalTime, std::accumulate(remaining.begin(), remaining.end(), 0));
}

void TestMovieList::addedMovieIsProbedAndPlaced_data() {
    QTest::addColumn<QString>("movie");
    QTest::addColumn<bool>("movieAuto");
    QTest::addColumn<QSize>("natural");
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<bool>("code4");

    QTest::newRow("auto, 160x120 doubled")
        << "160x120" << true << QSize(160, 120) << QSize(320, 240) << QPoint(0, 0) << false;
    QTest::newRow("auto, 100x100 doubled and centred")
        << "100x100" << true << QSize(100, 100) << QSize(200, 200) << QPoint(60, 20) << false;
    QTest::newRow("auto, 400x300 larger than the stage")
        << "400x300" << true << QSize(400, 300) << QSize(400, 300) << QPoint(-40, -30) << true;
    QTest::newRow("stored, small movie")
        << "100x100" << false << QSize(100, 100) << QSize(300, 200) << QPoint(10, -20) << false;
    QTest::newRow("stored, movie larger than the stage")
        << "400x300" << false << QSize(400, 300) << QSize(300, 200) << QPoint(10, -20) << false;
}

void TestMovieList::addedMovieIsProbedAndPlaced() {
    QFETCH(QString, movie);
    QFETCH(bool, movieAuto);
    QFETCH(QSize, natural);
    QFETCH(QSize, shown);
    QFETCH(QPoint, position);
    QFETCH(bool, code4);

    PlayerSettings.WinSizeX = 320;
    PlayerSettings.WinSizeY = 240;
    PlayerSettings.MovieAuto = movieAuto;
    PlayerSettings.MovieSizeX = 300;
    PlayerSettings.MovieSizeY = 200;
    PlayerSettings.MovieShowX = 10;
    PlayerSettings.MovieShowY = -20;
    list_->replaceRows(movieRows({"before"}, 5000));

    QStringList boxes;
    if (code4) {
        OnNextModal([this, &boxes](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            // The new row is already in the list, still empty.
            boxes << box->windowTitle() << box->text() << list_->row(1).caption
                  << QString::number(list_->row(1).subItems.size());
            QCOMPARE(box->icon(), QMessageBox::Critical);
            box->button(QMessageBox::Ok)->click();
        });
    }
    const QString path = this->movie(movie);
    list_->AddMovie(path);

    if (code4)
        QCOMPARE(boxes, (QStringList{"Error",
                                     "ムービーがWindowサイズ以上です\nWindowサイズ内だけ表示します",
                                     "", "0"}));
    QCOMPARE(list_->rowCount(), 2);
    const PlaylistItem row = list_->row(1);
    const int lengthMs = SubItemNumber(row, SubLengthMs);
    const int nominal = movie == QLatin1String("160x120") ? 2000 : 200;
    QVERIFY2(qAbs(lengthMs - nominal) <= 40, qPrintable(QString::number(lengthMs)));
    const PlaylistItem expected = NewMovieItem(path, lengthMs, natural, shown, position, 75, 50);
    QCOMPARE(row.caption, expected.caption);
    QCOMPARE(row.subItems, expected.subItems);
    QCOMPARE(int64_t{TotalTime}, 5000 + int64_t{lengthMs});
    QCOMPARE(list_->AllTime->text(), FormatDuration(5000 + lengthMs));
    QCOMPARE(notices_, (QStringList{"show", "hide"}));
    QVERIFY(!list_->MediaPlayer->isOpen());
}

void TestMovieList::unopenableMovieAddsNothing_data() {
    QTest::addColumn<QString>("movie");
    QTest::newRow("not a movie") << "broken";
    QTest::newRow("no such file") << "missing";
}

void TestMovieList::unopenableMovieAddsNothing() {
    QFETCH(QString, movie);
    list_->replaceRows(movieRows({"before"}, 5000));
    QStringList seen;
    OnNextModal([this, &seen](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        seen << box->windowTitle() << QString::number(box->text().isEmpty())
             << notices_.join(QLatin1Char(','));
        box->button(QMessageBox::Ok)->click();
    });
    list_->AddMovie(this->movie(movie));
    // The media error in a plain box while the notice is up; the notice goes afterwards.
    QCOMPARE(seen, (QStringList{"Kestrune", "0", "show"}));
    QCOMPARE(notices_, (QStringList{"show", "hide"}));
    QCOMPARE(CaptionsOf(*list_), QStringList{"before"});
    QCOMPARE(TotalTime, 5000);
    QCOMPARE(list_->AllTime->text(), QStringLiteral("0:00:05.000"));
}

void TestMovieList::movieAddDialog() {
    // Cancelled: nothing happens.
    PressOnNextModal(QStringLiteral("Cancel"));
    QTest::mouseClick(list_->MovieAdd, Qt::LeftButton);
    QCOMPARE(list_->rowCount(), 0);
    QVERIFY(notices_.isEmpty());

    const QString path = movie(QStringLiteral("a"));
    ChooseFileInNextDialog(path);
    QTest::mouseClick(list_->MovieAdd, Qt::LeftButton);
    QCOMPARE(CaptionsOf(*list_), QStringList{path});
}

void TestMovieList::dropAddsEveryFileInOrder_data() {
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("errors");

    QTest::newRow("three files") << QStringList{"a", "b", "c"} << -1
                                 << QStringList{"X", "Y", "a", "b", "c"} << 0;
    QTest::newRow("a broken one among them")
        << QStringList{"a", "broken", "c"} << -1 << QStringList{"X", "Y", "a", "c"} << 1;
    QTest::newRow("above the selected row")
        << QStringList{"c", "a", "b"} << 1 << QStringList{"X", "c", "a", "b", "Y"} << 0;
    QTest::newRow("none can be opened")
        << QStringList{"broken", "missing"} << -1 << QStringList{"X", "Y"} << 2;
}

void TestMovieList::dropAddsEveryFileInOrder() {
    QFETCH(QStringList, dropped);
    QFETCH(int, selected);
    QFETCH(QStringList, expected);
    QFETCH(int, errors);

    list_->replaceRows(movieRows({"X", "Y"}));
    select(*list_, selected);
    QList<QUrl> urls;
    for (const QString& key : dropped)
        urls << QUrl::fromLocalFile(movie(key));
    for (int i = 0; i < errors; ++i)
        PressOnNextModal(QStringLiteral("OK"));

    QMimeData mime;
    mime.setUrls(urls);
    const QPointF at(300, 100);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list_, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list_, &drop);
    QVERIFY(drop.isAccepted());

    QTRY_COMPARE(notices_.count(QStringLiteral("hide")), dropped.size());
    QCOMPARE(PendingModalActions(), 0);
    QStringList captions = CaptionsOf(*list_);
    for (const QString& key : dropped)
        captions.replaceInStrings(movie(key), key);
    QCOMPARE(captions, expected);
    if (selected >= 0)
        QCOMPARE(selectedCaption(*list_), QStringLiteral("Y"));
}

void TestMovieList::longDroppedPathTakenWhole() {
    QString folder = dir_.path();
    while (folder.size() < 300)
        folder += QStringLiteral("/a-rather-long-folder-name-to-go-past-the-old-limit");
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/movie.avi");
    QVERIFY(QFile::copy(movie(QStringLiteral("100x100")), path));

    list_->WMDropFiles({path});
    QCOMPARE(CaptionsOf(*list_), QStringList{path});
    QVERIFY(path.size() > 300);
    QCOMPARE(list_->row(0).subItems.value(SubMovieSize), QStringLiteral("100,100"));
}

void TestMovieList::blankDialog_data() {
    QTest::addColumn<int>("lengthMs");
    // Each entry is typed and confirmed with OK; when the last one is refused, Cancel follows.
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("refused");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("total");

    QTest::newRow("90 seconds") << 2000 << QStringList{"90"} << 0 << "90000"
                                << "0:01:30.000" << 90000;
    QTest::newRow("an hour") << 2000 << QStringList{"3600"} << 0 << "3600000"
                             << "1:00:00.000" << 3600000;
    QTest::newRow("hexadecimal") << 2000 << QStringList{"$10"} << 0 << "16000"
                                 << "0:00:16.000" << 16000;
    QTest::newRow("longest that fits 32 bits")
        << 2000 << QStringList{"2147483"} << 0 << "2147483000"
        << "596:31:23.000" << 2147483000;
    QTest::newRow("0, then 5") << 2000 << QStringList{"0", "5"} << 1 << "5000"
                               << "0:00:05.000" << 5000;
    QTest::newRow("refused entries, then cancelled")
        << 2000 << QStringList{"0", "abc", "-5", "2147484", "", "4294968"} << 6 << "2000"
        << "0:00:02.000" << 2000;
    QTest::newRow("cancelled at once") << 2000 << QStringList{} << 0 << "2000"
                                       << "0:00:02.000" << 2000;
    // From a file: 2500 ms opens as 2 s; the total steps by whole seconds.
    QTest::newRow("2500 ms confirmed as 2 s") << 2500 << QStringList{"2"} << 0 << "2000"
                                              << "0:00:02.000" << 2500;
}

void TestMovieList::blankDialog() {
    QFETCH(int, lengthMs);
    QFETCH(QStringList, entries);
    QFETCH(int, refused);
    QFETCH(QString, length);
    QFETCH(QString, time);
    QFETCH(int, total);

    PlaylistItem blank = NewBlankItem();
    blank.subItems[SubLengthMs] = QString::number(lengthMs);
    list_->replaceRows({blank});
    select(*list_, 0);

    QStringList shownWith; // the field's text each time the dialog comes up
    QStringList messages;
    const bool cancelled = refused == entries.size();
    for (qsizetype i = 0; i <= entries.size(); ++i) {
        const bool last = i == entries.size();
        if (last && !cancelled)
            break;
        OnNextModal([&shownWith, entry = entries.value(i), last](QWidget* modal) {
            auto* dialog = qobject_cast<TBlankSet*>(modal);
            QVERIFY(dialog);
            shownWith << dialog->blanktime->text();
            if (last) {
                QTest::mouseClick(dialog->Cancel, Qt::LeftButton);
                return;
            }
            replaceText(dialog->blanktime, entry);
            QTest::mouseClick(dialog->OK, Qt::LeftButton);
        });
        if (i < refused)
            PressOnNextModal(QStringLiteral("OK"), &messages);
    }
    QTest::mouseClick(list_->Setup, Qt::LeftButton);

    QStringList expectedShown{QString::number(lengthMs / 1000)};
    for (qsizetype i = 0; i < refused; ++i)
        expectedShown << entries[i];
    QCOMPARE(shownWith, expectedShown);
    QCOMPARE(messages.count(TimeMessage), refused);
    const PlaylistItem row = list_->row(0);
    QCOMPARE(row.subItems.value(SubLengthMs), length);
    QCOMPARE(row.subItems.value(SubTime), time);
    QCOMPARE(shownTexts(*list_, 0).value(1), time);
    QCOMPARE(TotalTime, total);
    QCOMPARE(list_->AllTime->text(), FormatDuration(total));
}

void TestMovieList::movieDialog_data() {
    // Keys typed into named fields, entered with Tab.
    QTest::addColumn<QStringList>("typing"); // field name, keys, field name, keys, ...
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("visible"); // sub-items 2 to 5
    QTest::addColumn<QStringList>("hidden");  // sub-items 10 to 13

    const QStringList asProbed{"320,240", "0,0", "75%", "50%"};
    const QStringList hiddenProbed{"320", "240", "0", "0"};
    QTest::newRow("untouched") << QStringList{} << true << asProbed << hiddenProbed;
    QTest::newRow("wider than the stage")
        << QStringList{"ShowSizeX", "800"} << true << QStringList{"800,240", "0,0", "75%", "50%"}
        << QStringList{"800", "240", "0", "0"};
    QTest::newRow("texts kept as typed")
        << QStringList{"ShowPosX", "6 4", "ShowPosY", "-12"} << true
        << QStringList{"320,240", "6,-12", "75%", "50%"} << QStringList{"320", "240", "6 4", "-12"};
    QTest::newRow("at most four characters")
        << QStringList{"ShowSizeY", "123456"} << true
        << QStringList{"320,1234", "0,0", "75%", "50%"} << QStringList{"320", "1234", "0", "0"};
    QTest::newRow("empty master volume")
        << QStringList{"MasterVol", "[Del]"} << true << QStringList{"320,240", "0,0", "%", "50%"}
        << hiddenProbed;
    QTest::newRow("volumes as typed")
        << QStringList{"MasterVol", "1000", "WaveVol", "abc"} << true
        << QStringList{"320,240", "0,0", "100%", "abc%"} << hiddenProbed;
    QTest::newRow("cancelled") << QStringList{"ShowSizeX", "800", "MasterVol", "5"} << false
                               << asProbed << hiddenProbed;
}

void TestMovieList::movieDialog() {
    QFETCH(QStringList, typing);
    QFETCH(bool, ok);
    QFETCH(QStringList, visible);
    QFETCH(QStringList, hidden);

    const PlaylistItem before = MovieRow(QStringLiteral("m.avi"), 2000);
    list_->replaceRows({before, NewBlankItem()});
    select(*list_, 0);
    QStringList shown;
    OnNextModal([&shown, typing, ok](QWidget* modal) {
        auto* dialog = qobject_cast<TMovSetup*>(modal);
        QVERIFY(dialog);
        shown << dialog->WinSizeX->text() << dialog->WinSizeY->text() << dialog->MovSizeX->text()
              << dialog->MovSizeY->text() << dialog->ShowSizeX->fieldText()
              << dialog->ShowSizeY->fieldText() << dialog->ShowPosX->fieldText()
              << dialog->ShowPosY->fieldText() << dialog->MasterVol->fieldText()
              << dialog->WaveVol->text();
        for (qsizetype i = 0; i + 1 < typing.size(); i += 2) {
            auto* field = dialog->findChild<QLineEdit*>(typing[i]);
            QVERIFY(field);
            field->setFocus(Qt::TabFocusReason);
            field->selectAll();
            TypeKeys(field, typing[i + 1]);
        }
        QTest::mouseClick(ok ? dialog->OK : dialog->Cancel, Qt::LeftButton);
    });
    QTest::mouseClick(list_->Setup, Qt::LeftButton);

    QCOMPARE(shown, (QStringList{"640", "480", "160", "120", "320", "240", "0", "0", "75", "50"}));
    const PlaylistItem row = list_->row(0);
    QCOMPARE(row.subItems.mid(SubShowSize, 4), visible);
    QCOMPARE(row.subItems.mid(SubShowSizeX, 4), hidden);
    QCOMPARE(shownTexts(*list_, 0).mid(3, 4), visible);
    // The movie's own size, its length and the total stay.
    QCOMPARE(row.subItems.mid(0, 2), before.subItems.mid(0, 2));
    QCOMPARE(row.subItems.mid(SubItemKind, 4), before.subItems.mid(SubItemKind, 4));
    QCOMPARE(TotalTime, 4000);
}

void TestMovieList::totalPinnedAtItsEndRecovers() {
    list_->replaceRows({NewBlankItem(), NewBlankItem()});
    for (int i = 0; i < 2; ++i) {
        select(*list_, i);
        OnNextModal([](QWidget* modal) {
            auto* dialog = qobject_cast<TBlankSet*>(modal);
            QVERIFY(dialog);
            replaceText(dialog->blanktime, QStringLiteral("2000000"));
            dialog->OK->click();
        });
        list_->SetupClick();
    }
    // 4,000,000 s do not fit 32 bits of milliseconds: the total stands at its end.
    QCOMPARE(TotalTime, INT32_MAX);
    QCOMPARE(list_->AllTime->text(), QStringLiteral("596:31:23.647"));
    list_->BlankAddClick();
    QCOMPARE(TotalTime, INT32_MAX);
    // Once the rows fit again the total is exact again.
    select(*list_, 0);
    list_->DeleteClick();
    QCOMPARE(TotalTime, 2000002000);
    list_->BlankAddClick();
    QCOMPARE(TotalTime, 2000004000);
    QCOMPARE(list_->AllTime->text(), FormatDuration(2000004000));
}

QTEST_MAIN(TestMovieList)
#include "tst_movielist.moc"
