#include "platform/displaymode.h"

DisplayModeFactory& CreateDisplayMode() {
    // No backend can switch the mode yet: creation fails and the stage shows in the current mode.
    static DisplayModeFactory factory = [] {
        return std::unique_ptr<DisplayModeDevice>();
    };
    return factory;
}
