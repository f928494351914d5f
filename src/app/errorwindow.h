#pragma once

#include "ui_errorwindow.h"

#include <QDialog>

// The coded error dialog: two lines of text and the box that suppresses the code for good.
// Made anew for each report.
class TErrorWindow : public QDialog, public Ui::TErrorWindow {
    Q_OBJECT
public:
    explicit TErrorWindow(QWidget* owner = nullptr);
};
