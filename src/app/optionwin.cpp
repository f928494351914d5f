#include "app/optionwin.h"

TOptionWin* OptionWin = nullptr;

TOptionWin::TOptionWin(QWidget* parent) : QDialog(parent) {
    setupUi(this);
}
