#pragma once

#include "ui_infowin.h"

#include <QDialog>

class Tinfo : public QDialog, public Ui::Tinfo {
    Q_OBJECT
public:
    explicit Tinfo(QWidget* parent = nullptr);
};

extern Tinfo* info;
