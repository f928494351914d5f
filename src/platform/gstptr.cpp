#include "platform/gstptr.h"

#include <mutex>

void gst::ensureInitialized() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (!gst_is_initialized())
            gst_init(nullptr, nullptr);
    });
}
