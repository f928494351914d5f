#include "app/aboutbox.h"

#include "app/centreonscreen.h"
#include "app/formfont.h"
#include "app/programicon.h"

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint) {
    setupUi(this);
    ApplyFormFont(this, 12);
    setFixedSize(242, 161);
    // These labels size themselves to their text; Version keeps its width to align right.
    ProductName->adjustSize();
    MakeDate->adjustSize();
    // Drawn at the label's own size rather than stretched from another size, so it stays sharp.
    ProgramIcon->setPixmap(ProgramIconImage().pixmap(ProgramIcon->size()));
}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
}
