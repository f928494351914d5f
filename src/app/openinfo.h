#pragma once

#include "ui_openinfo.h"

#include <QWidget>

class TOpenInfo : public QWidget, public Ui::TOpenInfo {
    Q_OBJECT
public:
    explicit TOpenInfo(QWidget* parent = nullptr);
};

extern TOpenInfo* OpenInfo;
