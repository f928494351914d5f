#include "platform/videopainter.h"

#include "platform/gstptr.h"

#include <gst/app/gstappsink.h>
#include <gst/video/video.h>

#include <QCoreApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include <mutex>

namespace {

const QEvent::Type FrameArrived = static_cast<QEvent::Type>(QEvent::registerEventType());

// A mapped frame kept alive for as long as a QImage shows its pixels.
struct MappedFrame {
    GstVideoFrame frame;
    gst::Owned<GstSample> sample;
};

void unmapFrame(void* info) {
    auto* mapped = static_cast<MappedFrame*>(info);
    gst_video_frame_unmap(&mapped->frame);
    delete mapped;
}

// The sample's picture as an image sharing its memory; null when it cannot be mapped.
QImage imageOf(gst::Owned<GstSample> sample) {
    GstCaps* caps = gst_sample_get_caps(sample.get());
    GstBuffer* buffer = gst_sample_get_buffer(sample.get());
    GstVideoInfo info;
    if (!caps || !buffer || !gst_video_info_from_caps(&info, caps))
        return {};
    auto* mapped = new MappedFrame{};
    if (!gst_video_frame_map(&mapped->frame, &info, buffer, GST_MAP_READ)) {
        delete mapped;
        return {};
    }
    mapped->sample = std::move(sample);
    // BGRx in memory is 0xffRRGGBB read as a 32-bit word on a little-endian machine.
    return QImage(static_cast<uchar*>(GST_VIDEO_FRAME_PLANE_DATA(&mapped->frame, 0)),
                  GST_VIDEO_FRAME_WIDTH(&mapped->frame), GST_VIDEO_FRAME_HEIGHT(&mapped->frame),
                  GST_VIDEO_FRAME_PLANE_STRIDE(&mapped->frame, 0), QImage::Format_RGB32,
                  unmapFrame, mapped);
}

} // namespace

// Shared by the painter and the appsink's callbacks, which run on streaming threads.
struct VideoPainter::Mailbox {
    std::mutex mutex;
    gst::Owned<GstSample> latest;
    VideoPainter* receiver = nullptr; // nullptr once detached
    bool posted = false;

    void offer(GstSample* sample) {
        gst::Owned<GstSample> owned = gst::adopt(sample);
        std::lock_guard lock(mutex);
        if (!receiver)
            return;
        latest = std::move(owned);
        if (!posted) {
            posted = true;
            QCoreApplication::postEvent(receiver, new QEvent(FrameArrived));
        }
    }

    // The callbacks' user data is a heap-held shared_ptr, released with the callbacks.
    static Mailbox& of(gpointer holder) { return **static_cast<std::shared_ptr<Mailbox>*>(holder); }
    static GstFlowReturn newSample(GstAppSink* sink, gpointer holder) {
        if (GstSample* sample = gst_app_sink_pull_sample(sink))
            of(holder).offer(sample);
        return GST_FLOW_OK;
    }
    static GstFlowReturn newPreroll(GstAppSink* sink, gpointer holder) {
        if (GstSample* sample = gst_app_sink_pull_preroll(sink))
            of(holder).offer(sample);
        return GST_FLOW_OK;
    }
    static void release(gpointer holder) { delete static_cast<std::shared_ptr<Mailbox>*>(holder); }
};

VideoPainter::VideoPainter(QObject* parent) : QObject(parent) {}

VideoPainter::~VideoPainter() {
    detach();
    setDisplay(nullptr);
}

void VideoPainter::attach(GstElement* appsink) {
    detach();
    mailbox_ = std::make_shared<Mailbox>();
    mailbox_->receiver = this;
    GstAppSinkCallbacks callbacks{};
    callbacks.new_sample = &Mailbox::newSample;
    callbacks.new_preroll = &Mailbox::newPreroll;
    gst_app_sink_set_callbacks(GST_APP_SINK(appsink), &callbacks,
                               new std::shared_ptr<Mailbox>(mailbox_), &Mailbox::release);
}

void VideoPainter::detach() {
    if (mailbox_) {
        std::lock_guard lock(mailbox_->mutex);
        mailbox_->receiver = nullptr;
        mailbox_->latest.reset();
    }
    mailbox_.reset();
    if (!frame_.isNull()) {
        updateDisplay();
        frame_ = QImage();
    }
}

void VideoPainter::setDisplay(QWidget* display) {
    if (display == display_)
        return;
    if (display_) {
        display_->removeEventFilter(this);
        if (fillsBackground_)
            display_->setAttribute(Qt::WA_OpaquePaintEvent, false);
        display_->update();
    }
    display_ = display;
    fillsBackground_ = false;
    if (display_) {
        // A widget that fills its own background has it filled by the painter instead, and only
        // where the frame does not cover it, so no pixel is painted twice for a frame.
        if (display_->autoFillBackground() && !display_->testAttribute(Qt::WA_OpaquePaintEvent)) {
            display_->setAttribute(Qt::WA_OpaquePaintEvent, true);
            fillsBackground_ = true;
        }
        display_->installEventFilter(this);
        updateDisplay();
    }
}

void VideoPainter::setTarget(const QRect& rect) {
    if (rect == target_)
        return;
    updateDisplay();
    target_ = rect;
    updateDisplay();
}

bool VideoPainter::event(QEvent* event) {
    if (event->type() != FrameArrived)
        return QObject::event(event);
    takeFrame();
    return true;
}

void VideoPainter::takeFrame() {
    gst::Owned<GstSample> sample;
    if (mailbox_) {
        std::lock_guard lock(mailbox_->mutex);
        sample = std::move(mailbox_->latest);
        mailbox_->posted = false;
    }
    if (!sample)
        return;
    QImage image = imageOf(std::move(sample));
    if (image.isNull())
        return;
    frame_ = std::move(image);
    updateDisplay();
}

void VideoPainter::updateDisplay() {
    if (display_ && !target_.isEmpty())
        display_->update(target_);
}

bool VideoPainter::eventFilter(QObject* watched, QEvent* event) {
    if (watched != display_ || event->type() != QEvent::Paint)
        return false;
    const bool showsFrame = !frame_.isNull() && !target_.isEmpty();
    if (!showsFrame && !fillsBackground_)
        return false;
    if (fillsBackground_) {
        const QRegion region = static_cast<QPaintEvent*>(event)->region();
        QPainter background(display_);
        const QBrush brush = display_->palette().brush(display_->backgroundRole());
        for (const QRect& rect : showsFrame ? region - target_ : region)
            background.fillRect(rect, brush);
    }
    // Then the widget's own painting, whatever it shows, and the frame on top.
    static_cast<QObject*>(display_)->event(event);
    if (!showsFrame)
        return true;
    QPainter painter(display_);
    const bool wholeMultiple =
        target_.width() % frame_.width() == 0 && target_.height() % frame_.height() == 0;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !wholeMultiple);
    painter.drawImage(target_, frame_);
    painter.end();
    Q_EMIT framePainted();
    return true;
}
