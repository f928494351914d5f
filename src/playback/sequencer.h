#pragma once

#include <QObject>
#include <QString>

class TMediaPlayer;
class TBlackWin;

// Plays one movie file on the stage: positions and shows the stage, opens the movie in the main
// window's media player with the stage's panel as its video window, places it, and starts it or
// leaves it cued for the start input. Owns PlaybackState and MovieActive.
class PlaybackSequencer : public QObject {
    Q_OBJECT
public:
    PlaybackSequencer(TMediaPlayer& player, TBlackWin& stage, QObject* parent = nullptr);

    void MoviePlay(const QString& path);
    // The completion notification of a play; one of an earlier, replaced play is ignored.
    void MediaPlayer1Notify(quint64 play);
    // The start/stop input: any key on the stage, a left press on the stage or its panel.
    void StageStartStop();

private:
    void playCued();
    void finishAnalysisIfArmed();

    TMediaPlayer& player_;
    TBlackWin& stage_;
    // The play whose end the sequencer waits for; 0 while none is current.
    quint64 currentPlay_ = 0;
};
