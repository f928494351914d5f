#include "mixersetup.h"

#include "app/errorreport.h"
#include "app/errorwindow.h"
#include "audio/mixer.h"
#include "modal.h"

namespace {

int codeOf(const QString& firstLine) {
    for (int code = 0; code <= 4; ++code) {
        if (ErrorTexts(code).first == firstLine)
            return code;
    }
    return -1;
}

} // namespace

MixerSetUp OpenMixerClosingErrors() {
    MixerSetUp result;
    // More answers than any set-up needs, so a report too many is seen instead of waited for.
    for (int i = 0; i < 8; ++i) {
        OnNextModal([&result](QWidget* modal) {
            auto* dialog = qobject_cast<TErrorWindow*>(modal);
            result.codes << (dialog ? codeOf(dialog->Error1->text()) : -1);
            ClickButton(modal, QStringLiteral("OK"));
        });
    }
    result.completed = OpenMixer();
    ClearModalActions();
    return result;
}

int FirstPercentLost() {
    for (int p = 0; p <= 100; ++p) {
        SetMasterVolume(p);
        SetWaveVolume(100 - p);
        if (GetMasterVolume() != p || GetWaveVolume() != 100 - p)
            return p;
    }
    return -1;
}
