#pragma once

#include "ui_movsetup.h"

#include <QDialog>

class TMovSetup : public QDialog, public Ui::TMovSetup {
    Q_OBJECT
public:
    explicit TMovSetup(QWidget* parent = nullptr);
};

extern TMovSetup* MovSetup;
