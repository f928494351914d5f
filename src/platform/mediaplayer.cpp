#include "platform/mediaplayer.h"

#include "platform/gstptr.h"
#include "platform/outputstage.h"
#include "platform/videopainter.h"

#include <gst/video/video.h>

#include <QFile>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

const char* const NoDevice = "MCI ﾃﾞﾊﾞｲｽがありません";
// ErrorMessage when GStreamer gives no text.
const char* const UnknownError = "原因不明のｴﾗｰ";

// How long Open waits for the file to be ready: a broken file never hangs the program.
constexpr GstClockTime OpenTimeout = 10 * GST_SECOND;
// How long Stop waits for the pipeline to settle in its paused state.
constexpr GstClockTime StopTimeout = 5 * GST_SECOND;

// Error codes of the player's own failures; GStreamer's keep their GError code.
constexpr int OpenTimedOut = 1;
constexpr int PipelineFailed = 2;

// playbin's flags: video and audio, deinterlaced where the stream is interlaced; no subtitles, no
// visualisation, no volume of playbin's own (the output stage has the volumes).
constexpr guint PlayFlags = (1u << 0) | (1u << 1) | (1u << 9);

#if G_BYTE_ORDER == G_LITTLE_ENDIAN
const char* const FrameFormat = "BGRx"; // QImage::Format_RGB32 in memory
#else
const char* const FrameFormat = "xRGB";
#endif

struct GstFailure {
    int code;
    QString text;
};

GstFailure failureOf(GstMessage* message) {
    GError* raw = nullptr;
    gchar* debug = nullptr;
    gst_message_parse_error(message, &raw, &debug);
    g_free(debug);
    gst::Owned<GError> error = gst::adopt(raw);
    if (!error)
        return {PipelineFailed, QString()};
    return {error->code != 0 ? error->code : PipelineFailed, QString::fromUtf8(error->message)};
}

} // namespace

class TMediaPlayer::Private {
public:
    explicit Private(TMediaPlayer& owner) : q(owner) {}

    TMediaPlayer& q;
    QString fileName;
    QPointer<QWidget> display;
    VideoPainter painter;

    // The open device: a playbin, its bus and video sink; empty while closed.
    gst::Owned<GstElement> pipeline;
    gst::Owned<GstBus> bus;
    gst::Owned<GstElement> videoSink;
    std::unique_ptr<QSocketNotifier> busNotifier;

    QSize frameSize;
    QRect displayRect;
    int error = 0;
    QString errorText;
    std::optional<bool> wait;
    std::optional<bool> notify;
    quint64 playSerial = 0;
    quint64 lastPlay = 0;
    // The play whose notification is still owed; 0 when none.
    quint64 pendingPlay = 0;
    bool atEnd = false;
    bool failed = false;

    bool isOpen() const { return pipeline != nullptr; }
    void requireOpen() const {
        if (!isOpen())
            throw MediaPlayerError(NoDevice);
    }
    void succeed() {
        error = 0;
        errorText.clear();
    }
    void fail(int code, const QString& text) {
        error = code;
        errorText = text;
    }
    // The one-shot flags of the next command, with the command's defaults.
    std::pair<bool, bool> takeFlags(bool waitDefault, bool notifyDefault) {
        const std::pair flags{wait.value_or(waitDefault), notify.value_or(notifyDefault)};
        wait.reset();
        notify.reset();
        return flags;
    }

    bool open();
    void close();
    std::optional<GstFailure> waitUntilReady();
    void readFrameSize();
    void watchBus();
    void drainBus();
    void handle(GstMessage* message);
    void onError(GstMessage* message);
    void onEos();
    void settlePending();
};

// ---------------------------------------------------------------------------------------------
// Opening and closing the device.

bool TMediaPlayer::Private::open() {
    gst::ensureInitialized();
    GError* rawError = nullptr;
    gst::Owned<gchar> uri =
        gst::adopt(gst_filename_to_uri(QFile::encodeName(fileName).constData(), &rawError));
    if (!uri) {
        gst::Owned<GError> uriError = gst::adopt(rawError);
        fail(PipelineFailed, uriError ? QString::fromUtf8(uriError->message) : QString());
        return false;
    }

    pipeline = gst::sink(gst::make("playbin", "kestrune-player"));
    videoSink = gst::sink(gst::make("appsink", "kestrune-video"));
    GstElement* audioSink = OutputStage::instance().createAudioSink();
    if (!pipeline || !videoSink || !audioSink) {
        if (audioSink)
            gst_object_unref(gst_object_ref_sink(audioSink));
        close();
        fail(PipelineFailed, QString());
        return false;
    }
    gst::Owned<GstCaps> caps = gst::adopt(
        gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, FrameFormat, nullptr));
    g_object_set(videoSink.get(), "caps", caps.get(), "max-buffers", 1u, "drop", TRUE,
                 "enable-last-sample", FALSE, nullptr);
    g_object_set(pipeline.get(), "uri", uri.get(), "flags", PlayFlags, "video-sink",
                 videoSink.get(), "audio-sink", audioSink, nullptr);
    bus = gst::adopt(gst_element_get_bus(pipeline.get()));
    painter.attach(videoSink.get());

    if (std::optional<GstFailure> failure = waitUntilReady()) {
        close();
        fail(failure->code, failure->text);
        return false;
    }
    readFrameSize();
    displayRect = QRect(QPoint(0, 0), frameSize);
    painter.setTarget(displayRect);
    painter.setDisplay(display);
    watchBus();
    return true;
}

// Prerolls the file and waits, bounded, until it is ready to play or has failed.
std::optional<GstFailure> TMediaPlayer::Private::waitUntilReady() {
    const GstStateChangeReturn change = gst_element_set_state(pipeline.get(), GST_STATE_PAUSED);
    if (change == GST_STATE_CHANGE_SUCCESS || change == GST_STATE_CHANGE_NO_PREROLL)
        return std::nullopt;
    const gint64 deadline = g_get_monotonic_time() + OpenTimeout / GST_USECOND;
    for (;;) {
        const gint64 left = std::max<gint64>(deadline - g_get_monotonic_time(), 0);
        const auto types = static_cast<GstMessageType>(GST_MESSAGE_ERROR | GST_MESSAGE_ASYNC_DONE);
        gst::Owned<GstMessage> message =
            gst::adopt(gst_bus_timed_pop_filtered(bus.get(), left * GST_USECOND, types));
        if (!message) {
            // Nothing in time, or a failure that posted no error.
            if (change == GST_STATE_CHANGE_FAILURE)
                return GstFailure{PipelineFailed, QString()};
            return GstFailure{OpenTimedOut, QString()};
        }
        if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ERROR)
            return failureOf(message.get());
        if (GST_MESSAGE_SRC(message.get()) == GST_OBJECT(pipeline.get()))
            return std::nullopt;
    }
}

// The natural size from the negotiated caps of the video sink; 0 x 0 without video.
void TMediaPlayer::Private::readFrameSize() {
    frameSize = QSize(0, 0);
    gst::Owned<GstPad> pad = gst::adopt(gst_element_get_static_pad(videoSink.get(), "sink"));
    gst::Owned<GstCaps> caps = gst::adopt(pad ? gst_pad_get_current_caps(pad.get()) : nullptr);
    GstVideoInfo info;
    if (caps && gst_video_info_from_caps(&info, caps.get()))
        frameSize = QSize(GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info));
}

void TMediaPlayer::Private::close() {
    busNotifier.reset();
    if (pipeline)
        gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    painter.detach();
    painter.setDisplay(nullptr);
    videoSink.reset();
    bus.reset();
    pipeline.reset();
    frameSize = QSize();
    displayRect = QRect();
    atEnd = false;
    failed = false;
}

// ---------------------------------------------------------------------------------------------
// Bus messages reach the UI thread through the bus's file descriptor: no polling, no GLib loop of
// our own. Every handler only records state and posts notifications; none calls back into users.

void TMediaPlayer::Private::watchBus() {
    GPollFD fd{};
    gst_bus_get_pollfd(bus.get(), &fd);
    busNotifier = std::make_unique<QSocketNotifier>(fd.fd, QSocketNotifier::Read);
    QObject::connect(busNotifier.get(), &QSocketNotifier::activated, &q, [this] { drainBus(); });
    drainBus(); // whatever came after the preroll
}

void TMediaPlayer::Private::drainBus() {
    Q_ASSERT(QThread::currentThread() == q.thread());
    while (bus) {
        gst::Owned<GstMessage> message = gst::adopt(gst_bus_pop(bus.get()));
        if (!message)
            break;
        handle(message.get());
    }
}

void TMediaPlayer::Private::handle(GstMessage* message) {
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
        onError(message);
        break;
    case GST_MESSAGE_EOS:
        onEos();
        break;
    default:
        break;
    }
}

void TMediaPlayer::Private::onError(GstMessage* message) {
    const GstFailure failure = failureOf(message);
    fail(failure.code, failure.text);
    failed = true;
    settlePending();
}

void TMediaPlayer::Private::onEos() {
    atEnd = true;
    settlePending();
}

// Posts the notification the pending play is owed, if any, to the UI thread.
void TMediaPlayer::Private::settlePending() {
    if (pendingPlay == 0)
        return;
    const quint64 play = std::exchange(pendingPlay, 0);
    // Queued on the player itself: dropped, never delivered, once the player is destroyed.
    QMetaObject::invokeMethod(
        &q, [player = &q, play] { Q_EMIT player->OnNotify(play); }, Qt::QueuedConnection);
}

// ---------------------------------------------------------------------------------------------

TMediaPlayer::TMediaPlayer(QObject* parent)
    : QObject(parent), d(std::make_unique<Private>(*this)) {
    connect(&d->painter, &VideoPainter::framePainted, this, &TMediaPlayer::framePainted);
}

TMediaPlayer::~TMediaPlayer() {
    d->pendingPlay = 0;
    d->close();
}

void TMediaPlayer::setFileName(const QString& path) {
    d->fileName = path;
}

QString TMediaPlayer::fileName() const {
    return d->fileName;
}

void TMediaPlayer::setDisplay(QWidget* display) {
    d->display = display;
    if (d->isOpen())
        d->painter.setDisplay(display);
}

QWidget* TMediaPlayer::display() const {
    return d->display;
}

void TMediaPlayer::Open() {
    d->takeFlags(true, false);
    Close();
    if (d->open())
        d->succeed();
}

void TMediaPlayer::Close() {
    d->takeFlags(true, false);
    d->succeed();
    if (!d->isOpen())
        return;
    d->settlePending();
    d->close();
}

void TMediaPlayer::Play() {
    d->requireOpen();
    const auto [wait, notify] = d->takeFlags(false, true);
    d->succeed();
    // A play still owed its notification is superseded by this one.
    d->settlePending();
    if (notify) {
        d->lastPlay = ++d->playSerial;
        d->pendingPlay = d->lastPlay;
    }
    if (d->atEnd || d->failed) {
        // Nothing left to play (no rewind), or the stream has failed: the play ends at once.
        d->settlePending();
        return;
    }
    if (gst_element_set_state(d->pipeline.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        d->fail(PipelineFailed, QString());
        d->failed = true;
        d->settlePending();
        return;
    }
    if (!wait)
        return;
    // Waits for the end of play, bounded by the movie's length when it is known.
    const int32_t length = Length();
    const GstClockTime bound =
        length > 0 ? (length + 10000) * GST_MSECOND : GST_CLOCK_TIME_NONE;
    const auto types = static_cast<GstMessageType>(GST_MESSAGE_ERROR | GST_MESSAGE_EOS);
    gst::Owned<GstMessage> message =
        gst::adopt(gst_bus_timed_pop_filtered(d->bus.get(), bound, types));
    if (message)
        d->handle(message.get());
}

void TMediaPlayer::Stop() {
    d->requireOpen();
    d->takeFlags(true, false);
    d->succeed();
    if (gst_element_set_state(d->pipeline.get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_ASYNC)
        gst_element_get_state(d->pipeline.get(), nullptr, nullptr, StopTimeout);
    d->settlePending();
}

QRect TMediaPlayer::DisplayRect() const {
    if (!d->isOpen())
        return QRect(0, 0, 0, 0);
    return d->displayRect;
}

void TMediaPlayer::setDisplayRect(const QRect& rect) {
    if (!d->isOpen() || d->frameSize.isEmpty())
        return;
    d->displayRect = rect;
    d->painter.setTarget(rect);
}

void TMediaPlayer::setTimeFormat(TTimeFormat) {}

int32_t TMediaPlayer::Length() const {
    d->requireOpen();
    d->succeed();
    gint64 duration = 0;
    if (!gst_element_query_duration(d->pipeline.get(), GST_FORMAT_TIME, &duration) ||
        duration < 0)
        return 0;
    return static_cast<int32_t>(
        std::min<gint64>(duration / GST_MSECOND, std::numeric_limits<int32_t>::max()));
}

void TMediaPlayer::setWait(bool wait) {
    d->wait = wait;
}

void TMediaPlayer::setNotify(bool notify) {
    d->notify = notify;
}

int TMediaPlayer::Error() const {
    return d->error;
}

QString TMediaPlayer::ErrorMessage() const {
    if (d->error == 0)
        return QString();
    return d->errorText.isEmpty() ? QString::fromUtf8(UnknownError) : d->errorText;
}

bool TMediaPlayer::isOpen() const {
    return d->isOpen();
}

quint64 TMediaPlayer::lastPlay() const {
    return d->lastPlay;
}
