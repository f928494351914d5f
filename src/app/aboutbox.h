#pragma once

#include "ui_aboutbox.h"

#include <QDialog>

// The About box: the program icon, name, version and date, and OK.
class TAboutBox : public QDialog, public Ui::TAboutBox {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};

extern TAboutBox* AboutBox;
