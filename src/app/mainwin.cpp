#include "app/mainwin.h"

#include "app/aboutbox.h"
#include "app/filedialogs.h"
#include "app/filedrop.h"
#include "app/formfont.h"
#include "app/helpwindow.h"
#include "app/hooks.h"
#include "app/infowin.h"
#include "app/messages.h"
#include "app/optionwin.h"
#include "app/settingsstore.h"
#include "audio/meterwindow.h"
#include "platform/mediaplayer.h"
#include "playback/blackwin.h"
#include "playback/sequencer.h"
#include "playlist/ksxfile.h"
#include "playlist/movielist.h"
#include "playlist/playplaylist.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMimeData>
#include <QScreen>
#include <QShowEvent>
#include <QUrl>

TMainWin* MainWin = nullptr;
bool ApplicationEnding = false;

namespace {

const QString movieFilter = QStringLiteral(
    "Movie File|*.AVI;*.MOV;*.MPG;*.MPEG|AVI File|*.AVI|QuickTime File|*.MOV|MPEG FIle|*.MPG;*."
    "MPEG|All File|*.*");

} // namespace

TMainWin::TMainWin(const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                              Qt::MSWindowsFixedSizeDialogHint),
      arguments_(arguments) {
    LoadSettings();
    setupUi(this);
    ApplyFormFont(this, 12);
    MainForm = this;
    ::MoviePlay = [this](const QString& path) {
        MoviePlay(path);
    };
    MediaPlayer1 = new TMediaPlayer(this);
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
    OpenDialog1 = CreateOpenDialog(this, movieFilter);
    OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));

    connect(Open1, &QAction::triggered, this, &TMainWin::Open1Click);
    connect(Info1, &QAction::triggered, this, &TMainWin::Info1Click);
    connect(List1, &QAction::triggered, this, &TMainWin::List1Click);
    connect(Exit1, &QAction::triggered, this, &TMainWin::Exit1Click);
    connect(option1, &QAction::triggered, this, &TMainWin::option1Click);
    connect(LevelMeter1, &QAction::triggered, this, &TMainWin::LevelMeter1Click);
    connect(Help2, &QAction::triggered, this, &TMainWin::Help2Click);
    connect(About1, &QAction::triggered, this, &TMainWin::About1Click);

    // Fixed size: the title bar and the menu bar over a client area of 205 x 1.
    // Narrow item padding, so that the four top-level items fit the 205 pixels side by side.
    MainMenu1->setStyleSheet(QStringLiteral(
        "QMenuBar { padding: 0px; spacing: 0px; } QMenuBar::item { padding: 2px 4px; }"));
    const int menuHeight = MainMenu1->heightForWidth(205) > 0 ? MainMenu1->heightForWidth(205)
                                                              : MainMenu1->sizeHint().height();
    setFixedSize(205, menuHeight + 1);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - frameGeometry().center() + pos());
}

TMainWin::~TMainWin() {
    if (MainForm == this)
        MainForm = nullptr;
    ::MoviePlay = nullptr;
}

void TMainWin::MoviePlay(const QString& path) {
    if (!sequencer_) {
        sequencer_ = new PlaybackSequencer(*MediaPlayer1, *BlackWin, this);
    }
    sequencer_->MoviePlay(path);
}

void TMainWin::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous() && !shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
}

void TMainWin::FormShow() {
    setAcceptDrops(true);
    if (!arguments_.isEmpty()) {
        QMetaObject::invokeMethod(this, &TMainWin::WMPlayParam, Qt::QueuedConnection);
        return;
    }
    // Runs before the main window is drawn: the About box comes first, alone.
    AboutBox->exec();
}

void TMainWin::WMPlayParam() {
    if (!arguments_.isEmpty())
        openFile(arguments_.constFirst());
}

void TMainWin::openFile(const QString& path) {
    // A playlist could only fail as a movie: it opens in the playlist window, with its play loop.
    if (HasPlaylistMagic(path)) {
        MovieList->OpenPlaylistFile(path);
        List1Click();
        return;
    }
    MoviePlay(path);
}

void TMainWin::dragEnterEvent(QDragEnterEvent* event) {
    AcceptFileDrag(event);
}

void TMainWin::dropEvent(QDropEvent* event) {
    TakeFileDrop(event, this, [this](const QStringList& paths) { WMDropFiles(paths); });
}

void TMainWin::WMDropFiles(const QStringList& paths) {
    if (!paths.isEmpty())
        openFile(paths.constFirst());
}

QString TMainWin::runOpenDialog() {
    return RunOpenDialog(*OpenDialog1);
}

void TMainWin::Open1Click() {
    const QString path = runOpenDialog();
    if (path.isEmpty())
        return;
    QCoreApplication::processEvents();
    MoviePlay(path);
}

void TMainWin::Info1Click() {
    const QString path = runOpenDialog();
    if (path.isEmpty())
        return;
    MediaPlayer1->setFileName(path);
    MediaPlayer1->setDisplay(nullptr);
    MediaPlayer1->Open();
    if (MediaPlayer1->Error() != 0) {
        ShowMessage(MediaPlayer1->ErrorMessage());
        return;
    }
    const QRect rect = MediaPlayer1->DisplayRect();
    MediaPlayer1->setTimeFormat(TMediaPlayer::tfMilliseconds);
    info->ShowMovie(path, rect.width() - rect.left(), rect.height() - rect.top(),
                    MediaPlayer1->Length());
    info->exec();
    MediaPlayer1->Close();
}

void TMainWin::List1Click() {
    while (!ApplicationEnding && MovieList->exec() == QDialog::Accepted) {
        if (ApplicationEnding)
            break;
        PlayPlaylist();
    }
}

void TMainWin::Exit1Click() {
    close();
}

void TMainWin::option1Click() {
    OptionWin->Execute();
}

void TMainWin::LevelMeter1Click() {
    MeterWindow->show();
    MeterWindow->raise();
    MeterWindow->activateWindow();
}

void TMainWin::Help2Click() {
    if (!helpWindow_)
        helpWindow_ = new THelpWindow(this);
    if (!helpWindow_->showContents())
        ShowMessage(QStringLiteral("ヘルプ (kestrune.hlp) が見つかりません。\n"
                                   "Kestrune をインストールし直してください。"));
}

void TMainWin::About1Click() {
    AboutBox->exec();
}

void TMainWin::FormClose() {}

void TMainWin::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
    ApplicationEnding = true;
    // Ends the main loop and every nested one (modal dialogs, a playlist run's wait).
    QCoreApplication::exit(0);
}
