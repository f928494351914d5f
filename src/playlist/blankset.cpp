#include "playlist/blankset.h"

#include "app/centreonscreen.h"
#include "app/messages.h"
#include "playlist/itemdialog.h"
#include "playlist/playlistrules.h"

TBlankSet* BlankSet = nullptr;

TBlankSet::TBlankSet(QWidget* parent) : QDialog(parent, ItemDialogFlags) {
    setupUi(this);
    SetUpItemDialog(this, QSize(169, 62), OK, Cancel);
}

void TBlankSet::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
}

std::optional<int32_t> TBlankSet::AskSeconds(int32_t oldSeconds) {
    blanktime->setText(QString::number(oldSeconds));
    for (;;) {
        blanktime->setFocus();
        if (exec() != QDialog::Accepted)
            return std::nullopt;
        const int32_t seconds = WholeIntegerFromText(blanktime->text());
        if (IsBlankSecondsAllowed(seconds))
            return static_cast<int32_t>(seconds);
        ShowMessage(QStringLiteral("時間設定が異常です。"));
    }
}
