#include "audio/analyzewin.h"

TAnalyzeWin* AnalyzeWin = nullptr;

TAnalyzeWin::TAnalyzeWin(QWidget* parent) : QWidget(parent) {
    setupUi(this);
}
