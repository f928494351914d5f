#include "playback/sequencer.h"

#include "app/errorreport.h"
#include "app/hooks.h"
#include "app/messages.h"
#include "app/processflags.h"
#include "app/settingsstore.h"
#include "platform/mediaplayer.h"
#include "playback/blackwin.h"
#include "playback/placement.h"

PlaybackSequencer::PlaybackSequencer(TMediaPlayer& player, TBlackWin& stage, QObject* parent)
    : QObject(parent), player_(player), stage_(stage) {
    connect(&player_, &TMediaPlayer::OnNotify, this, &PlaybackSequencer::MediaPlayer1Notify);
    stage_.onStartStop = [this] {
        StageStartStop();
    };
}

void PlaybackSequencer::MoviePlay(const QString& path) {
    MovieActive = true;
    // Whatever play was current is replaced: its notification no longer ends anything.
    currentPlay_ = 0;
    player_.setFileName(path);
    const TPlayerSettings& s = PlayerSettings;
    stage_.setStageBounds(s.WinShowX, s.WinShowY, s.WinSizeX, s.WinSizeY);

    int32_t naturalWidth = 0;
    int32_t naturalHeight = 0;
    if (PlayerSettings.MovieAuto) {
        QWidget* display = player_.display();
        player_.setDisplay(nullptr);
        player_.Open();
        if (player_.Error() != 0) {
            player_.setDisplay(display);
            ShowMessage(player_.ErrorMessage());
            return;
        }
        const QRect rect = player_.DisplayRect();
        naturalWidth = rect.width() - rect.left();
        naturalHeight = rect.height() - rect.top();
        player_.Close();
        player_.setDisplay(display);
    }

    stage_.showStage();
    player_.setDisplay(stage_.Panel1);
    player_.Open();
    if (player_.Error() != 0) {
        stage_.hideStage();
        ShowMessage(player_.ErrorMessage());
        return;
    }

    if (PlayerSettings.MovieAuto) {
        const MoviePlacement placement = AutoPlacement(
            naturalWidth, naturalHeight, PlayerSettings.WinSizeX, PlayerSettings.WinSizeY);
        if (placement.tooLarge)
            ReportError(4);
        PlayerSettings.MovieSizeX = placement.sizeX;
        PlayerSettings.MovieSizeY = placement.sizeY;
        PlayerSettings.MovieShowX = placement.showX;
        PlayerSettings.MovieShowY = placement.showY;
    }

    stage_.Panel1->setGeometry(PlayerSettings.MovieShowX, PlayerSettings.MovieShowY,
                               std::max(PlayerSettings.MovieSizeX, 0),
                               std::max(PlayerSettings.MovieSizeY, 0));
    player_.setDisplayRect(QRect(0, 0, PlayerSettings.MovieSizeX, PlayerSettings.MovieSizeY));
    player_.setWait(false);
    player_.setNotify(true);
    stage_.setCursor(Qt::BlankCursor);
    stage_.Panel1->setCursor(Qt::BlankCursor);
    stage_.Panel1->hide();

    if (!PlayerSettings.KeyWait)
        playCued();
}

void PlaybackSequencer::playCued() {
    player_.Play();
    currentPlay_ = player_.lastPlay();
    stage_.Panel1->show();
    PlaybackState = Playing;
}

void PlaybackSequencer::MediaPlayer1Notify(quint64 play) {
    if (play != currentPlay_)
        return;
    if (PlaybackState != Playing)
        return;
    currentPlay_ = 0;
    MovieActive = false;
    player_.Close();
    if (PlayerSettings.AfterKey) {
        PlaybackState = Holding;
        return;
    }
    if (!MoreItemsFollow)
        stage_.hideStage();
    PlaybackState = Idle;
    finishAnalysisIfArmed();
}

void PlaybackSequencer::StageStartStop() {
    switch (PlaybackState) {
    case Idle:
        if (PlayerSettings.KeyWait) {
            stage_.Panel1->hide();
            playCued();
        }
        break;
    case Playing:
        PlaybackState = Idle;
        currentPlay_ = 0;
        player_.Stop();
        player_.Close();
        stage_.hideStage();
        MoreItemsFollow = false;
        finishAnalysisIfArmed();
        break;
    case Holding:
        if (PlayerSettings.AfterKey) {
            if (!MoreItemsFollow)
                stage_.hideStage();
            PlaybackState = Idle;
            finishAnalysisIfArmed();
        }
        break;
    }
}

void PlaybackSequencer::finishAnalysisIfArmed() {
    if (AnalysisArmed)
        CallHook(FinishAnalysis);
}
