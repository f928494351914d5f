#pragma once

#include "ui_infowin.h"

#include <QDialog>
#include <cstdint>

// The movie information dialog, filled by the Info command. It has no close box and ignores
// Escape: it is left only with its OK button.
class Tinfo : public QDialog, public Ui::Tinfo {
    Q_OBJECT
public:
    explicit Tinfo(QWidget* parent = nullptr);

    // The form's value label "size" is meant here, not QWidget::size().
    using Ui::Tinfo::size;

    // Shows a movie's full path, its frame size as "width,height" and its length.
    void ShowMovie(const QString& path, int width, int height, int32_t lengthMs);

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
};

extern Tinfo* info;
