#pragma once

#include <QList>

struct MixerSetUp {
    // OpenMixer's result: false when the set-up ended with ErrorCode 3.
    bool completed = false;
    // The error codes reported, in order.
    QList<int> codes;
};

// Runs OpenMixer, closing every error dialog it shows and noting the dialog's code.
MixerSetUp OpenMixerClosingErrors();

// Sets every percent from 0 to 100 (master p, wave 100 - p) and reads it back; gives the first
// percent that comes back otherwise, or -1 when every one survives.
int FirstPercentLost();
