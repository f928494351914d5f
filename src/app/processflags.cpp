#include "app/processflags.h"

TPlaybackState PlaybackState = Idle;
bool MovieActive = false;
bool MoreItemsFollow = false;
bool AnalysisArmed = false;
