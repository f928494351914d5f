#pragma once

#include "ui_meterwindow.h"

#include <QWidget>

class TMeterWindow : public QWidget, public Ui::TMeterWindow {
    Q_OBJECT
public:
    explicit TMeterWindow(QWidget* parent = nullptr);
};

extern TMeterWindow* MeterWindow;
