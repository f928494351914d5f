#pragma once

#include "ui_optionwin.h"

#include <QDialog>

// The options dialog: the thirteen playback and display settings of PlayerSettings (all but
// ErrorFlag). Created once and reused; every opening starts from the settings in memory.
class TOptionWin : public QDialog, public Ui::TOptionWin {
    Q_OBJECT
public:
    explicit TOptionWin(QWidget* parent = nullptr);

    // The Option command: fills the dialog, shows it until the movie area fits the stage (or
    // AutoFlag lets an oversized one be cut silently), then takes the values into PlayerSettings
    // and stores them. Anything but OK leaves the settings as they were.
    void Execute();

    // Movie fields and their labels can be edited exactly while the movie is not placed
    // automatically.
    void AutoFlagClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FillFromSettings();
    // Cuts an oversized movie area in the fields; true when something stuck out.
    bool CutOversizedMovie();
    void TakeSettings();
};

extern TOptionWin* OptionWin;
