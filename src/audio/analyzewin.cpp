#include "audio/analyzewin.h"

#include "app/formfont.h"
#include "audio/levelanalysis.h"

#include <QHeaderView>
#include <QPixmap>
#include <QShowEvent>
#include <algorithm>
#include <vector>

TAnalyzeWin* AnalyzeWin = nullptr;

TAnalyzeWin::TAnalyzeWin(QWidget* parent)
    : QWidget(parent, Qt::Window), surface_(300, 202, QImage::Format_RGB32) {
    setupUi(this);
    ApplyFormFont(this, 12);
    surface_.fill(Qt::white);
    present();
    AnalizeList->setSortingEnabled(false);
    AnalizeList->setColumnWidth(1, 36);
    AnalizeList->setColumnWidth(0, 113 - 36 - 4);
    AnalizeList->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    AnalizeList->header()->setStretchLastSection(false);
    connect(AnalizeList, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem* previous) {
                // The row that loses its state reports first, the new one last.
                if (previous)
                    AnalizeListChange(previous);
                if (current)
                    AnalizeListChange(current);
            });
}

void TAnalyzeWin::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TAnalyzeWin::FormShow() {
    ClearGraph(surface_);
    highlightLevel_ = -1;
    highlightCount_ = -1;
    maxCount_ = 0;
    const QSignalBlocker quiet(AnalizeList);
    AnalizeList->clear();

    std::vector<std::pair<QString, QString>> rows;
    for (int level = 1; level <= 100; ++level) {
        maxCount_ = std::max(maxCount_, LevelHistogram[level]);
        rows.emplace_back(QString::number(level), QString::number(LevelHistogram[level]));
    }
    // Rows of equal count keep the order of their levels.
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
        return AnalizeListCompare(a.second, b.second) < 0;
    });
    for (const auto& [level, count] : rows) {
        auto* item = new QTreeWidgetItem(AnalizeList, {level, count});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }

    if (maxCount_ != 0) {
        for (int level = 1; level <= 100; ++level)
            DrawBar(surface_, level, LevelHistogram[level], maxCount_, Qt::black);
    }
    present();
}

void TAnalyzeWin::AnalizeListChange(QTreeWidgetItem* item) {
    if (maxCount_ == 0)
        return;
    if (highlightLevel_ != -1)
        DrawBar(surface_, highlightLevel_, highlightCount_, maxCount_, Qt::black);
    highlightLevel_ = item->text(0).toInt();
    highlightCount_ = item->text(1).toInt();
    DrawBar(surface_, highlightLevel_, highlightCount_, maxCount_, Qt::red);
    present();
}

void TAnalyzeWin::present() {
    Image1->setPixmap(QPixmap::fromImage(surface_));
}
