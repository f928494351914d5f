#pragma once

#include <QObject>
#include <QRect>
#include <QString>
#include <cstdint>
#include <memory>
#include <stdexcept>

class QWidget;

// Raised by Play, Stop and Length when no device is open.
class MediaPlayerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The media player component over GStreamer: one movie file at a time, opened synchronously,
// played asynchronously with one completion notification per play.
//
// Video goes to the Display widget through an appsink and is painted scaled into DisplayRect
// (nearest-neighbour at whole-number magnifications); sound goes through the output stage.
class TMediaPlayer : public QObject {
    Q_OBJECT
public:
    enum TTimeFormat { tfMilliseconds };

    explicit TMediaPlayer(QObject* parent = nullptr);
    ~TMediaPlayer() override;

    // File opened by the next Open.
    void setFileName(const QString& path);
    QString fileName() const;

    // Window the video is drawn in; nullptr: nothing is shown. Takes effect at Open, or at once
    // when a device is open.
    void setDisplay(QWidget* display);
    QWidget* display() const;

    // Closes an open device first, then opens FileName and waits, bounded, until it is ready.
    // Error() is 0 on success; the call returns normally either way.
    void Open();
    // Nothing when no device is open.
    void Close();
    // Returns at once; with Notify set, exactly one OnNotify follows at the end or after a Stop.
    // Notify is on and Wait off unless set otherwise for this command. Every play owed a
    // notification gets exactly one: at the end of the stream, at a failure, after Stop, when a
    // later Play supersedes it, or when the device is closed (Close, Open); never after the
    // player is destroyed. Play at the end of the movie (there is no rewind) ends at once.
    // With Wait set it returns only at the end of the movie.
    void Play();
    // Stops play (the position is kept; Play goes on from there); a pending play notification
    // then arrives (aborted).
    void Stop();

    // Right after Open: 0, 0 and the frame size (0 x 0 for a file without video); after a set,
    // the rectangle set. 0, 0, 0, 0 while no device is open.
    QRect DisplayRect() const;
    // Scales the picture into that rectangle of the Display widget; nothing without video.
    void setDisplayRect(const QRect& rect);

    void setTimeFormat(TTimeFormat format);
    // Length in the time format (milliseconds); 0 while the file does not tell it.
    int32_t Length() const;

    // One-shot flags for the next command. Only Play notifies; the other commands always wait.
    void setWait(bool wait);
    void setNotify(bool notify);

    // Code of the last command, 0 = success, and its text: GStreamer's own message, or
    // "原因不明のｴﾗｰ" when it has none; empty when Error is 0. A failure during play also sets it.
    int Error() const;
    QString ErrorMessage() const;

    bool isOpen() const;
    // Serial number of the most recent Play with Notify set (0 before the first); a completion
    // notification carries the serial of the play it ends.
    quint64 lastPlay() const;

Q_SIGNALS:
    // One completion notification, delivered on the UI thread as a queued event.
    void OnNotify(quint64 play);
    // After each frame has been painted into the Display widget.
    void framePainted();

private:
    class Private;
    std::unique_ptr<Private> d;
};
