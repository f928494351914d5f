#pragma once

#include <cstdint>

// The process-wide state shared by the playback sequencer, playlist playback, the level meter and
// the level analysis. Everything runs on the one user-interface thread, so there are no locks.

enum TPlaybackState : int32_t { Idle = 0, Playing = 1, Holding = 2 };

// Written only by the playback sequencer.
extern TPlaybackState PlaybackState;
// Set when a play starts; cleared only when a play ends through its completion notification.
extern bool MovieActive;
// Set by playlist playback while further items follow the one playing: the stage stays shown.
extern bool MoreItemsFollow;
// An analysis of the output level is armed (owned by the level analysis).
extern bool AnalysisArmed;
