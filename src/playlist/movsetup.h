#pragma once

#include "ui_movsetup.h"

#include "app/settingsstore.h"
#include "playlist/playlistitem.h"

#include <QDialog>

// The movie properties dialog: a movie row's display size and position and its two volumes,
// beside the stage size and the movie's own size for reference.
class TMovSetup : public QDialog, public Ui::TMovSetup {
    Q_OBJECT
public:
    explicit TMovSetup(QWidget* parent = nullptr);

    // Fills every field from the row and the stage size; the volumes without their final "%".
    void FillFrom(const PlaylistItem& item, const TPlayerSettings& settings);
    // Writes the fields into the row as they give them back: the hidden display values as typed,
    // the display columns from the numbers they begin with, the volumes followed by "%". Nothing is
    // checked; the movie's own size and length stay.
    void TakeInto(PlaylistItem& item) const;

protected:
    void showEvent(QShowEvent* event) override;
};

extern TMovSetup* MovSetup;
