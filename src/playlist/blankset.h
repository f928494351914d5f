#pragma once

#include "ui_blankset.h"

#include <QDialog>
#include <cstdint>
#include <optional>

// The blank dialog: a blank's duration in whole seconds.
class TBlankSet : public QDialog, public Ui::TBlankSet {
    Q_OBJECT
public:
    explicit TBlankSet(QWidget* parent = nullptr);

    // Shows the dialog with the old duration until it is confirmed with a duration it may take or
    // cancelled. A refused entry (0, not a number, negative, or too long for a 32-bit length in
    // milliseconds) is answered with a message and the dialog again, keeping the typed text.
    // Nothing when cancelled.
    std::optional<int32_t> AskSeconds(int32_t oldSeconds);

protected:
    void showEvent(QShowEvent* event) override;
};

extern TBlankSet* BlankSet;
