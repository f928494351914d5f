#pragma once

// Small owners for GStreamer and GLib values, so no caller writes an unref by hand. Every place that
// takes a pointer says which reference it takes:
//   gst::adopt(p)  takes over a reference the caller was given ("transfer full" in the GStreamer
//                  documentation: gst_element_get_bus, gst_pad_get_current_caps, gst_bus_pop, ...);
//   gst::addRef(p) adds a reference of its own ("transfer none": a borrowed pointer);
//   gst::sink(p)   takes a newly made element, whose reference is still floating.

#include <gst/gst.h>

#include <memory>

namespace gst {

struct Unref {
    void operator()(GstObject* p) const { gst_object_unref(p); }
    void operator()(GstElement* p) const { gst_object_unref(p); }
    void operator()(GstBus* p) const { gst_object_unref(p); }
    void operator()(GstPad* p) const { gst_object_unref(p); }
    void operator()(GstClock* p) const { gst_object_unref(p); }
    void operator()(GstCaps* p) const { gst_caps_unref(p); }
    void operator()(GstMessage* p) const { gst_message_unref(p); }
    void operator()(GstSample* p) const { gst_sample_unref(p); }
    void operator()(GError* p) const { g_error_free(p); }
    void operator()(gchar* p) const { g_free(p); }
};

template <typename T>
using Owned = std::unique_ptr<T, Unref>;

template <typename T>
Owned<T> adopt(T* p) {
    return Owned<T>(p);
}

inline Owned<GstElement> addRef(GstElement* p) {
    return Owned<GstElement>(p ? GST_ELEMENT(gst_object_ref(p)) : nullptr);
}
inline Owned<GstSample> addRef(GstSample* p) {
    return Owned<GstSample>(p ? gst_sample_ref(p) : nullptr);
}

inline Owned<GstElement> sink(GstElement* floating) {
    return Owned<GstElement>(floating ? GST_ELEMENT(gst_object_ref_sink(floating)) : nullptr);
}

// Makes an element of the named factory; nullptr when the plugin is missing. The result is
// floating, ready to be added to a bin.
inline GstElement* make(const char* factory, const char* name = nullptr) {
    return gst_element_factory_make(factory, name);
}

// Initialises GStreamer once for the process; safe to call from any thread, any number of times.
void ensureInitialized();

} // namespace gst
