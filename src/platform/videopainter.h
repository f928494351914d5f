#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <memory>

typedef struct _GstElement GstElement;

// Takes the frames of an appsink (BGRx) and paints the latest one into a display widget, scaled
// into a target rectangle: nearest-neighbour where the rectangle is a whole multiple of the frame
// size (every source pixel becomes an exact block), smooth otherwise. Outside the rectangle the
// widget keeps its own painting.
//
// Frames are handed from the streaming thread to the painter's thread as events; only the latest
// one is kept. The painter never makes a window of its own: without a display frames are dropped.
// While it paints into a widget that fills its own background, the painter fills it instead (the
// widget is marked WA_OpaquePaintEvent until the painter leaves it), only outside the frame.
class VideoPainter : public QObject {
    Q_OBJECT
public:
    explicit VideoPainter(QObject* parent = nullptr);
    ~VideoPainter() override;

    // Starts taking the frames of this appsink (its caps must be BGRx); replaces an earlier one.
    void attach(GstElement* appsink);
    // Stops taking frames and forgets the latest one; the display is repainted without it.
    void detach();

    void setDisplay(QWidget* display);
    QWidget* display() const { return display_; }
    void setTarget(const QRect& rect);
    QRect target() const { return target_; }

    // The latest frame, null before the first.
    QImage frame() const { return frame_; }

Q_SIGNALS:
    // After each paint of a frame into the display.
    void framePainted();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Mailbox;
    void takeFrame();
    void updateDisplay();

    std::shared_ptr<Mailbox> mailbox_;
    QPointer<QWidget> display_;
    // Whether the painter fills the display's background in its place (see setDisplay).
    bool fillsBackground_ = false;
    QRect target_;
    QImage frame_;
};
