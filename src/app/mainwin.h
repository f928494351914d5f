#pragma once

#include "ui_mainwin.h"

#include <QMainWindow>
#include <QStringList>

class QFileDialog;
class TMediaPlayer;
class PlaybackSequencer;
class THelpWindow;

// The main window: a title bar and the menu from which every command is reached. It owns the
// media player that plays single movies and the file dialog shared by Open and Info.
class TMainWin : public QMainWindow, public Ui::TMainWin {
    Q_OBJECT
public:
    // Loads every setting while it is constructed; raises when a stored value is unusable.
    explicit TMainWin(const QStringList& arguments = {}, QWidget* parent = nullptr);
    ~TMainWin() override;

    TMediaPlayer* MediaPlayer1 = nullptr;
    QFileDialog* OpenDialog1 = nullptr;

    // Plays one movie file on the stage.
    void MoviePlay(const QString& path);
    PlaybackSequencer& sequencer() { return *sequencer_; }

    void Open1Click();
    void Info1Click();
    void List1Click();
    void Exit1Click();
    void option1Click();
    void LevelMeter1Click();
    void Help2Click();
    void About1Click();
    void WMPlayParam();
    void WMDropFiles(const QStringList& paths);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void FormShow();
    void FormClose();
    // Runs OpenDialog1; the chosen path, or empty when cancelled.
    QString runOpenDialog();
    // Plays a movie, or opens a playlist file in the playlist window.
    void openFile(const QString& path);

    QStringList arguments_;
    PlaybackSequencer* sequencer_ = nullptr;
    THelpWindow* helpWindow_ = nullptr;
    bool shownOnce_ = false;
};

extern TMainWin* MainWin;

// Set when the main window closes: the program is ending and no loop may start again.
extern bool ApplicationEnding;
