#include "app/infowin.h"

Tinfo* info = nullptr;

Tinfo::Tinfo(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
