#pragma once

#include "ui_analyzewin.h"

#include <QImage>
#include <QWidget>
#include <cstdint>

class QTreeWidgetItem;

// The result of a level analysis: the distribution of the counted levels as a bar graph and as a
// list sorted by count. Rebuilt from the histogram every time it is shown.
class TAnalyzeWin : public QWidget, public Ui::TAnalyzeWin {
    Q_OBJECT
public:
    explicit TAnalyzeWin(QWidget* parent = nullptr);

    // Image1's drawing surface.
    const QImage& surface() const { return surface_; }

    // Moves the red highlight to the row's bar.
    void AnalizeListChange(QTreeWidgetItem* item);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void present();

    QImage surface_;
    int32_t maxCount_ = 0;
    int32_t highlightLevel_ = -1;
    int32_t highlightCount_ = -1;
};

extern TAnalyzeWin* AnalyzeWin;
