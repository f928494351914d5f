#pragma once

#include "ui_blankset.h"

#include <QDialog>

class TBlankSet : public QDialog, public Ui::TBlankSet {
    Q_OBJECT
public:
    explicit TBlankSet(QWidget* parent = nullptr);
};

extern TBlankSet* BlankSet;
