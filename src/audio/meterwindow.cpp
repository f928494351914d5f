#include "audio/meterwindow.h"

TMeterWindow* MeterWindow = nullptr;

TMeterWindow::TMeterWindow(QWidget* parent) : QWidget(parent) {
    setupUi(this);
}
