#include "platform/displaymode.h"

#include "platform/xrandrdisplaymode.h"

DisplayModeFactory& CreateDisplayMode() {
    static DisplayModeFactory factory = &XRandrDisplayMode::create;
    return factory;
}
