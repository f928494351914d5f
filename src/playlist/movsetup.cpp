#include "playlist/movsetup.h"

TMovSetup* MovSetup = nullptr;

TMovSetup::TMovSetup(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
