#pragma once

#include "ui_analyzewin.h"

#include <QWidget>

class TAnalyzeWin : public QWidget, public Ui::TAnalyzeWin {
    Q_OBJECT
public:
    explicit TAnalyzeWin(QWidget* parent = nullptr);
};

extern TAnalyzeWin* AnalyzeWin;
