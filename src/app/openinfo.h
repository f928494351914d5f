#pragma once

#include "ui_openinfo.h"

#include <QWidget>

// The notice "ムービーオープン中" shown over the playlist window while it opens a movie file.
// It has no close box, stays on top and does not take the focus from the playlist window.
class TOpenInfo : public QWidget, public Ui::TOpenInfo {
    Q_OBJECT
public:
    explicit TOpenInfo(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
};

extern TOpenInfo* OpenInfo;
