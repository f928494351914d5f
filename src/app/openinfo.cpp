#include "app/openinfo.h"

TOpenInfo* OpenInfo = nullptr;

TOpenInfo::TOpenInfo(QWidget* parent) : QWidget(parent) {
    setupUi(this);
}
