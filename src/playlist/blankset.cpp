#include "playlist/blankset.h"

TBlankSet* BlankSet = nullptr;

TBlankSet::TBlankSet(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
