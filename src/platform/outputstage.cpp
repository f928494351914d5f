#include "platform/outputstage.h"

#include "platform/gstptr.h"

#include <QDir>
#include <QSettings>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <mutex>
#include <vector>

// The sink bin of one media player is a GstBin subclass, so the level element's messages are taken
// where they are posted (in the streaming thread) and never reach the player's bus, and so the bin
// sees its own state changes, which tie its peaks to what is heard.

namespace {

// How often the level element reports. Its peak is the largest sample of the whole interval, so
// no burst is lost however short; the interval only bounds how early a peak may be released (its
// interval's start). 20 ms is finer than a frame of video and keeps messages at 50 a second.
constexpr GstClockTime kLevelInterval = 20 * GST_MSECOND;

int64_t steadyNowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The element's running time now, from its pipeline's clock; false without a clock.
bool runningTimeNow(GstElement* element, int64_t& running) {
    GstClock* clock = gst_element_get_clock(element);
    if (!clock)
        return false;
    const GstClockTime now = gst_clock_get_time(clock);
    gst_object_unref(clock);
    const GstClockTime base = gst_element_get_base_time(element);
    if (!GST_CLOCK_TIME_IS_VALID(now) || !GST_CLOCK_TIME_IS_VALID(base))
        return false;
    running = GST_CLOCK_DIFF(base, now);
    return true;
}

// A level reading in dB of full scale as a 16-bit magnitude, 0 to 32768.
int32_t magnitudeFromDb(double db) {
    if (!std::isfinite(db))
        return 0;
    const double magnitude = std::round(32768.0 * std::pow(10.0, db / 20.0));
    return static_cast<int32_t>(std::clamp(magnitude, 0.0, 32768.0));
}

// The "peak" field of a level message: one value in dB per channel.
std::vector<double> peakValues(const GstStructure* s) {
    std::vector<double> values;
    const GValue* list = gst_structure_get_value(s, "peak");
    if (!list)
        return values;
    if (GST_VALUE_HOLDS_ARRAY(list)) {
        for (guint i = 0; i < gst_value_array_get_size(list); ++i)
            values.push_back(g_value_get_double(gst_value_array_get_value(list, i)));
        return values;
    }
    // GStreamer 1.22's level element still reports a GValueArray.
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    if (G_VALUE_HOLDS(list, g_value_array_get_type())) {
        const auto* array = static_cast<const GValueArray*>(g_value_get_boxed(list));
        for (guint i = 0; array && i < array->n_values; ++i)
            values.push_back(g_value_get_double(g_value_array_get_nth(
                const_cast<GValueArray*>(array), i)));
    }
    G_GNUC_END_IGNORE_DEPRECATIONS
    return values;
}

QString gainsFile() {
    QString stateHome = qEnvironmentVariable("XDG_STATE_HOME");
    if (stateHome.isEmpty())
        stateHome = QDir::homePath() + QStringLiteral("/.local/state");
    return stateHome + QStringLiteral("/Quillmoor/KestruneOutput.conf");
}

// A sink that plays on the machine's sound device: the sound server's, else ALSA's default
// device; nullptr where neither can be opened.
GstElement* systemSink() {
    for (const char* factory : {"pulsesink", "alsasink"}) {
        gst::Owned<GstElement> sink = gst::sink(gst::make(factory));
        if (!sink)
            continue;
        const bool opens = gst_element_set_state(sink.get(), GST_STATE_READY) ==
                           GST_STATE_CHANGE_SUCCESS;
        gst_element_set_state(sink.get(), GST_STATE_NULL);
        if (opens)
            return sink.release();
    }
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The sink bin type.

struct KestruneOutputBin {
    GstBin parent;
    GstElement* wave;   // borrowed: owned by the bin as its child
    GstElement* master; // borrowed: owned by the bin as its child
    // Guarded by the output stage's mutex: whether the pipeline plays, and the pairing of a
    // running time with a steady-clock instant that maps this bin's peaks onto what is heard.
    gboolean anchored;
    gint64 anchorSteadyNs;
    gint64 anchorRunningNs;
};

struct KestruneOutputBinClass {
    GstBinClass parent_class;
};

extern "C" GType kestrune_output_bin_get_type();
G_DEFINE_TYPE(KestruneOutputBin, kestrune_output_bin, GST_TYPE_BIN)


struct OutputStage::State {
    struct Pending {
        KestruneOutputBin* bin;
        int64_t running; // running time of the block's start, ns
        int32_t left;
        int32_t right;
    };

    std::mutex mutex;
    double waveGain = 1.0;
    double masterGain = 1.0;
    std::vector<KestruneOutputBin*> bins;
    // Peaks measured but not yet heard.
    std::vector<Pending> pending;
    // The largest heard since the last takePeaks.
    int32_t heardLeft = 0;
    int32_t heardRight = 0;

    // With the mutex held: moves the pending peaks whose time has come into the heard ones.
    void releaseDue(int64_t nowNs) {
        auto due = [&](const Pending& p) {
            if (!p.bin->anchored)
                return false;
            return p.bin->anchorSteadyNs + (p.running - p.bin->anchorRunningNs) <= nowNs;
        };
        auto keep = std::partition(pending.begin(), pending.end(),
                                   [&](const Pending& p) { return !due(p); });
        for (auto it = keep; it != pending.end(); ++it) {
            heardLeft = std::max(heardLeft, it->left);
            heardRight = std::max(heardRight, it->right);
        }
        pending.erase(keep, pending.end());
    }

    // With the mutex held: forgets what the bin measured and has not been heard.
    void dropPending(KestruneOutputBin* bin) {
        std::erase_if(pending, [bin](const Pending& p) { return p.bin == bin; });
    }

    void anchor(KestruneOutputBin* bin) {
        int64_t running = 0;
        if (!runningTimeNow(GST_ELEMENT(bin), running))
            return;
        const int64_t steady = steadyNowNs();
        std::lock_guard lock(mutex);
        bin->anchored = TRUE;
        bin->anchorSteadyNs = steady;
        bin->anchorRunningNs = running;
    }

    void stopTiming(KestruneOutputBin* bin) {
        std::lock_guard lock(mutex);
        bin->anchored = FALSE;
        dropPending(bin);
    }

    void addPeak(KestruneOutputBin* bin, int64_t running, int32_t left, int32_t right) {
        std::lock_guard lock(mutex);
        pending.push_back({bin, running, left, right});
        releaseDue(steadyNowNs());
    }

    void applyGains(KestruneOutputBin* bin) {
        g_object_set(bin->wave, "volume", waveGain, nullptr);
        g_object_set(bin->master, "volume", masterGain, nullptr);
    }

    void saveGains() const {
        QSettings file(gainsFile(), QSettings::IniFormat);
        file.setValue(QStringLiteral("WaveGain"), waveGain);
        file.setValue(QStringLiteral("MasterGain"), masterGain);
        file.sync();
    }
};

struct OutputStageInternals {
    static auto& state() { return *OutputStage::instance().state_; }
};

static void kestrune_output_bin_init(KestruneOutputBin* self) {
    self->wave = nullptr;
    self->master = nullptr;
    self->anchored = FALSE;
}

static void kestrune_output_bin_dispose(GObject* object) {
    auto* self = reinterpret_cast<KestruneOutputBin*>(object);
    auto& state = OutputStageInternals::state();
    {
        std::lock_guard lock(state.mutex);
        std::erase(state.bins, self);
        state.dropPending(self);
        self->wave = nullptr;
        self->master = nullptr;
    }
    G_OBJECT_CLASS(kestrune_output_bin_parent_class)->dispose(object);
}

static void kestrune_output_bin_handle_message(GstBin* bin, GstMessage* message) {
    const GstStructure* s = gst_message_get_structure(message);
    if (GST_MESSAGE_TYPE(message) != GST_MESSAGE_ELEMENT || !s ||
        !gst_structure_has_name(s, "level")) {
        GST_BIN_CLASS(kestrune_output_bin_parent_class)->handle_message(bin, message);
        return;
    }
    auto* self = reinterpret_cast<KestruneOutputBin*>(bin);
    auto& state = OutputStageInternals::state();
    guint64 running = GST_CLOCK_TIME_NONE;
    const std::vector<double> peaks = peakValues(s);
    if (gst_structure_get_uint64(s, "running-time", &running) &&
        GST_CLOCK_TIME_IS_VALID(running) && !peaks.empty()) {
        // Mono counts the same on both channels.
        const int32_t left = magnitudeFromDb(peaks[0]);
        const int32_t right = peaks.size() > 1 ? magnitudeFromDb(peaks[1]) : left;
        if (GST_STATE(bin) == GST_STATE_PLAYING)
            state.anchor(self); // keeps the mapping fresh against clock drift
        state.addPeak(self, static_cast<int64_t>(running), left, right);
    }
    gst_message_unref(message);
}

static GstStateChangeReturn kestrune_output_bin_change_state(GstElement* element,
                                                             GstStateChange transition) {
    auto* self = reinterpret_cast<KestruneOutputBin*>(element);
    auto& state = OutputStageInternals::state();
    if (transition == GST_STATE_CHANGE_PLAYING_TO_PAUSED ||
        transition == GST_STATE_CHANGE_PAUSED_TO_READY)
        state.stopTiming(self);
    const GstStateChangeReturn result =
        GST_ELEMENT_CLASS(kestrune_output_bin_parent_class)->change_state(element, transition);
    if (transition == GST_STATE_CHANGE_PAUSED_TO_PLAYING && result != GST_STATE_CHANGE_FAILURE)
        state.anchor(self);
    return result;
}

static void kestrune_output_bin_class_init(KestruneOutputBinClass* klass) {
    G_OBJECT_CLASS(klass)->dispose = kestrune_output_bin_dispose;
    GST_ELEMENT_CLASS(klass)->change_state = kestrune_output_bin_change_state;
    GST_BIN_CLASS(klass)->handle_message = kestrune_output_bin_handle_message;
}

// ---------------------------------------------------------------------------------------------

OutputStage& OutputStage::instance() {
    // Never destroyed: sink bins may outlive static destruction at exit.
    static OutputStage* stage = new OutputStage;
    return *stage;
}

OutputStage::OutputStage() : state_(new State) {
    gst::ensureInitialized();
    QSettings file(gainsFile(), QSettings::IniFormat);
    bool ok = false;
    const double wave = file.value(QStringLiteral("WaveGain")).toDouble(&ok);
    if (ok)
        state_->waveGain = std::clamp(wave, 0.0, 1.0);
    const double master = file.value(QStringLiteral("MasterGain")).toDouble(&ok);
    if (ok)
        state_->masterGain = std::clamp(master, 0.0, 1.0);
}

void OutputStage::setWaveGain(double gain) {
    gain = std::clamp(gain, 0.0, 1.0);
    std::lock_guard lock(state_->mutex);
    if (gain == state_->waveGain)
        return;
    state_->waveGain = gain;
    for (KestruneOutputBin* bin : state_->bins)
        state_->applyGains(bin);
    state_->saveGains();
}

double OutputStage::waveGain() const {
    std::lock_guard lock(state_->mutex);
    return state_->waveGain;
}

void OutputStage::setMasterGain(double gain) {
    gain = std::clamp(gain, 0.0, 1.0);
    std::lock_guard lock(state_->mutex);
    if (gain == state_->masterGain)
        return;
    state_->masterGain = gain;
    for (KestruneOutputBin* bin : state_->bins)
        state_->applyGains(bin);
    state_->saveGains();
}

double OutputStage::masterGain() const {
    std::lock_guard lock(state_->mutex);
    return state_->masterGain;
}

OutputStage::Peaks OutputStage::takePeaks() {
    std::lock_guard lock(state_->mutex);
    state_->releaseDue(steadyNowNs());
    Peaks peaks{state_->heardLeft, state_->heardRight};
    state_->heardLeft = 0;
    state_->heardRight = 0;
    return peaks;
}

GstElement* OutputStage::createAudioSink() {
    auto* bin = static_cast<KestruneOutputBin*>(
        g_object_new(kestrune_output_bin_get_type(), "name", "kestrune-output", nullptr));
    GstElement* convert = gst::make("audioconvert");
    GstElement* resample = gst::make("audioresample");
    GstElement* level = gst::make("level");
    GstElement* wave = gst::make("volume", "wave");
    GstElement* master = gst::make("volume", "master");
    GstElement* sink = systemSink();
    if (!sink) {
        // No sound device: a null sink that still keeps to the clock, so playback lasts as long
        // and the peaks and the end come at the same times.
        sink = gst::make("fakesink");
        if (sink)
            g_object_set(sink, "sync", TRUE, nullptr);
    }
    if (!convert || !resample || !level || !wave || !master || !sink) {
        for (GstElement* e : {convert, resample, level, wave, master, sink})
            if (e)
                gst_object_unref(gst_object_ref_sink(e));
        gst_object_unref(gst_object_ref_sink(bin));
        return nullptr;
    }
    g_object_set(level, "interval", kLevelInterval, "post-messages", TRUE, nullptr);
    gst_bin_add_many(GST_BIN(bin), convert, resample, level, wave, master, sink, nullptr);
    gst_element_link_many(convert, resample, level, wave, master, sink, nullptr);
    gst::Owned<GstPad> target = gst::adopt(gst_element_get_static_pad(convert, "sink"));
    gst_element_add_pad(GST_ELEMENT(bin), gst_ghost_pad_new("sink", target.get()));

    bin->wave = wave;
    bin->master = master;
    std::lock_guard lock(state_->mutex);
    state_->applyGains(bin);
    state_->bins.push_back(bin);
    return GST_ELEMENT(bin);
}
