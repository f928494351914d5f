#include "playlist/movielist.h"

#include "app/centreonscreen.h"
#include "app/filedialogs.h"
#include "app/filedrop.h"
#include "app/formatduration.h"
#include "app/formfont.h"
#include "app/hooks.h"
#include "app/messages.h"
#include "audio/mixer.h"
#include "platform/mediaplayer.h"
#include "playlist/blankset.h"
#include "playlist/ksxfile.h"
#include "playlist/listerror.h"
#include "playlist/movsetup.h"
#include "playlist/playlistrules.h"
#include "playlist/totaltime.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QScrollBar>
#include <QShowEvent>
#include <algorithm>

TMovieList* MovieList = nullptr;

namespace {

const QString MovieFilter =
    QStringLiteral("Movie File|*.AVI;*.MOV;*.MPG;*.MPEG|AVI File|*.AVI|QuickTime File|*.MOV|"
                   "MPEG File|*.MPG;*.MPEG|All File|*.*");
const QString SaveFilter = QStringLiteral("Kestrune List(*.KSX)|*.KSX");
const QString LoadFilter = QStringLiteral("Kestrune List|*.KSX");
const QString ClearedTotal = QStringLiteral("00:00:00.000");

constexpr int VisibleSubItems = 6;
// The row's sub-items after the visible ones, and how many sub-items it has in all.
constexpr int HiddenSubItemsRole = Qt::UserRole;
constexpr int SubItemCountRole = Qt::UserRole + 1;

} // namespace

TMovieList::TMovieList(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setupUi(this);
    ApplyFormFont(this, 12);
    ApplyFormFont(ListView, 15);
    ApplyFormFont(Label1, 19);
    ApplyFormFont(AllTime, 19);
    setFixedSize(629, 318);

    const int widths[] = {140, 86, 84, 80, 72, 62, 70};
    for (int column = 0; column < ListView->columnCount(); ++column)
        ListView->header()->resizeSection(column, widths[column]);
    ListView->header()->setSectionsMovable(false);
    ListView->header()->setStretchLastSection(false);
    // The selection stays as visible when the list does not have the focus.
    QPalette palette = ListView->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    ListView->setPalette(palette);

    MediaPlayer = new TMediaPlayer(this);
    MediaPlayer->setObjectName(QStringLiteral("MediaPlayer"));
    OpenDialog = CreateOpenDialog(this, MovieFilter);
    OpenDialog->setObjectName(QStringLiteral("OpenDialog"));
    SaveDialog = CreateSaveDialog(this, SaveFilter, QStringLiteral("KSX"));
    SaveDialog->setObjectName(QStringLiteral("SaveDialog"));
    LoadDialog = CreateOpenDialog(this, LoadFilter);
    LoadDialog->setObjectName(QStringLiteral("LoadDialog"));

    connect(MovieAdd, &QPushButton::clicked, this, &TMovieList::MovieAddClick);
    connect(BlankAdd, &QPushButton::clicked, this, &TMovieList::BlankAddClick);
    connect(Setup, &QPushButton::clicked, this, &TMovieList::SetupClick);
    connect(Delete, &QPushButton::clicked, this, &TMovieList::DeleteClick);
    connect(AllClear, &QPushButton::clicked, this, &TMovieList::AllClearClick);
    connect(Save, &QPushButton::clicked, this, &TMovieList::SaveClick);
    connect(Load, &QPushButton::clicked, this, &TMovieList::LoadClick);
    connect(Play, &QPushButton::clicked, this, &QDialog::accept);
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TMovieList::~TMovieList() = default;

void TMovieList::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        CentreOnScreen(this);
        FormShow();
    }
}

void TMovieList::FormShow() {
    setAcceptDrops(true);
}

void TMovieList::dragEnterEvent(QDragEnterEvent* event) {
    AcceptFileDrag(event);
}

void TMovieList::dropEvent(QDropEvent* event) {
    TakeFileDrop(event, this, [this](const QStringList& paths) { WMDropFiles(paths); });
}

void TMovieList::WMDropFiles(const QStringList& paths) {
    raise();
    activateWindow();
    for (const QString& path : paths)
        AddMovie(path);
}

int TMovieList::rowCount() const {
    return ListView->topLevelItemCount();
}

PlaylistItem TMovieList::row(int index) const {
    const QTreeWidgetItem* item = ListView->topLevelItem(index);
    if (!item)
        return {};
    const int count = item->data(0, SubItemCountRole).toInt();
    PlaylistItem result{item->text(0), {}};
    for (int i = 0; i < std::min(count, VisibleSubItems); ++i)
        result.subItems << item->text(i + 1);
    result.subItems << item->data(0, HiddenSubItemsRole).toStringList();
    return result;
}

QList<PlaylistItem> TMovieList::rows() const {
    QList<PlaylistItem> result;
    result.reserve(rowCount());
    for (int i = 0; i < rowCount(); ++i)
        result << row(i);
    return result;
}

void TMovieList::setRow(QTreeWidgetItem* item, const PlaylistItem& row) {
    item->setText(0, row.caption);
    for (int i = 0; i < VisibleSubItems; ++i) {
        item->setText(i + 1, row.subItems.value(i));
        item->setTextAlignment(i + 1, Qt::AlignCenter);
    }
    item->setData(0, HiddenSubItemsRole, row.subItems.mid(VisibleSubItems));
    item->setData(0, SubItemCountRole, static_cast<int>(row.subItems.size()));
}

int TMovieList::selectedIndex() const {
    for (int i = 0; i < rowCount(); ++i) {
        if (ListView->topLevelItem(i)->isSelected())
            return i;
    }
    return -1;
}

QTreeWidgetItem* TMovieList::insertRow(bool* appended) {
    auto* item = new QTreeWidgetItem;
    const int selected = selectedIndex();
    *appended = selected < 0;
    if (*appended)
        ListView->addTopLevelItem(item);
    else
        ListView->insertTopLevelItem(selected, item);
    return item;
}

void TMovieList::scrollToEnd() {
    ListView->doItemsLayout();
    const QTreeWidgetItem* first = ListView->topLevelItem(0);
    const int rowHeight = first ? ListView->visualItemRect(first).height() : 0;
    if (rowHeight <= 0)
        return;
    const int perPage = ListView->viewport()->height() / rowHeight;
    const int top = ListView->indexOfTopLevelItem(ListView->itemAt(0, 0));
    const int rows = RowsToScroll(std::max(top, 0), perPage, rowCount());
    QScrollBar* bar = ListView->verticalScrollBar();
    bar->setValue(bar->value() + rows);
}

int64_t TMovieList::sumOfLengths() const {
    int64_t sum = 0;
    for (int i = 0; i < rowCount(); ++i)
        sum += SubItemNumber(row(i), SubLengthMs);
    return sum;
}

void TMovieList::addToTotalTime(int64_t delta) {
    const std::optional<int32_t> stepped = SteppedTotal(TotalTime, delta);
    TotalTime = stepped ? *stepped : ClampedTotal(sumOfLengths());
    showTotalTime();
}

void TMovieList::showTotalTime() {
    AllTime->setText(FormatDuration(TotalTime));
}

void TMovieList::AddMovie(const QString& path) {
    CallHook(ShowOpeningNotice);
    QCoreApplication::processEvents();
    MediaPlayer->setFileName(path);
    MediaPlayer->Open();
    if (MediaPlayer->Error() != 0) {
        ShowMessage(MediaPlayer->ErrorMessage());
        CallHook(HideOpeningNotice);
        return;
    }
    bool appended = false;
    QTreeWidgetItem* item = insertRow(&appended);
    const QRect rect = MediaPlayer->DisplayRect();
    const QSize natural(rect.width() - rect.left(), rect.height() - rect.top());
    const NewMoviePlacement placement = PlacementForNewMovie(natural, PlayerSettings);
    if (placement.tooLarge)
        ShowListError(4);
    MediaPlayer->setTimeFormat(TMediaPlayer::tfMilliseconds);
    const int32_t lengthMs = MediaPlayer->Length();
    setRow(item, NewMovieItem(path, lengthMs, natural, placement.shown, placement.position,
                              GetMasterVolume(), GetWaveVolume()));
    addToTotalTime(lengthMs);
    MediaPlayer->Close();
    if (appended)
        scrollToEnd();
    CallHook(HideOpeningNotice);
}

void TMovieList::MovieAddClick() {
    const QString path = RunOpenDialog(*OpenDialog);
    if (!path.isEmpty())
        AddMovie(path);
}

void TMovieList::BlankAddClick() {
    bool appended = false;
    QTreeWidgetItem* item = insertRow(&appended);
    const PlaylistItem blank = NewBlankItem();
    setRow(item, blank);
    addToTotalTime(SubItemNumber(blank, SubLengthMs));
    if (appended)
        scrollToEnd();
}

void TMovieList::DeleteClick() {
    const int selected = selectedIndex();
    if (selected < 0)
        return;
    const int32_t lengthMs = SubItemNumber(row(selected), SubLengthMs);
    delete ListView->takeTopLevelItem(selected);
    addToTotalTime(-int64_t{lengthMs});
}

void TMovieList::AllClearClick() {
    if (!AskYesNo(QStringLiteral("全削除"), QStringLiteral("全削除してよろしいですか？")))
        return;
    ListView->clear();
    TotalTime = 0;
    AllTime->setText(ClearedTotal);
}

void TMovieList::SetupClick() {
    const int selected = selectedIndex();
    if (selected < 0)
        return;
    PlaylistItem item = row(selected);
    if (IsMovie(item))
        editMovie(selected, std::move(item));
    else
        editBlank(selected, std::move(item));
}

void TMovieList::editMovie(int index, PlaylistItem item) {
    MovSetup->FillFrom(item, PlayerSettings);
    if (MovSetup->exec() != QDialog::Accepted)
        return;
    MovSetup->TakeInto(item);
    setRow(ListView->topLevelItem(index), item);
}

void TMovieList::editBlank(int index, PlaylistItem item) {
    const int32_t oldSeconds = SubItemNumber(item, SubLengthMs) / 1000;
    const std::optional<int32_t> seconds = BlankSet->AskSeconds(oldSeconds);
    if (!seconds)
        return;
    const int64_t lengthMs = int64_t{*seconds} * 1000;
    while (item.subItems.size() <= SubLengthMs)
        item.subItems.append(QString());
    item.subItems[SubLengthMs] = QString::number(lengthMs);
    item.subItems[SubTime] = FormatDuration(lengthMs);
    setRow(ListView->topLevelItem(index), item);
    addToTotalTime(lengthMs - int64_t{oldSeconds} * 1000);
}

void TMovieList::SaveClick() {
    const QString path = RunOpenDialog(*SaveDialog);
    if (path.isEmpty())
        return;
    const QList<PlaylistItem> list = rows();
    const PlaylistWriteResult result = WritePlaylistFile(path, list);
    switch (result.outcome) {
    case PlaylistWriteResult::Written:
        break;
    case PlaylistWriteResult::SaveFailed:
        ShowListError(ListSaveFailed);
        break;
    case PlaylistWriteResult::NameDoesNotFit:
        ShowStopMessage(QStringLiteral("Error"),
                        NameDoesNotFitText(result.row, list.value(result.row).caption));
        break;
    }
}

void TMovieList::LoadClick() {
    if (rowCount() > 0 && !AskYesNo(QStringLiteral("Load"),
                                    QStringLiteral("現在あるリストが消滅しますがよろしいですか？")))
        return;
    const QString path = RunOpenDialog(*LoadDialog);
    if (path.isEmpty())
        return;
    loadFile(path);
}

void TMovieList::OpenPlaylistFile(const QString& path) {
    if (rowCount() > 0 && !AskYesNo(QStringLiteral("Load"),
                                    QStringLiteral("現在あるリストが消滅しますがよろしいですか？")))
        return;
    loadFile(path);
}

void TMovieList::loadFile(const QString& path) {
    const PlaylistReadResult result = ReadPlaylistFile(path);
    if (result.error) {
        ShowListError(*result.error);
        return;
    }
    replaceRows(result.rows);
}

void TMovieList::replaceRows(const QList<PlaylistItem>& rows) {
    ListView->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(rows.size());
    int64_t sum = 0;
    for (const PlaylistItem& row : rows) {
        auto* item = new QTreeWidgetItem;
        setRow(item, row);
        items << item;
        sum += SubItemNumber(row, SubLengthMs);
    }
    ListView->addTopLevelItems(items);
    TotalTime = ClampedTotal(sum);
    showTotalTime();
}
