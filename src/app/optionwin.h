#pragma once

#include "ui_optionwin.h"

#include <QDialog>

class TOptionWin : public QDialog, public Ui::TOptionWin {
    Q_OBJECT
public:
    explicit TOptionWin(QWidget* parent = nullptr);
};

extern TOptionWin* OptionWin;
