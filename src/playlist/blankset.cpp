#include "playlist/blankset.h"

#include "app/centreonscreen.h"
#include "app/formfont.h"
#include "app/messages.h"
#include "playlist/playlistrules.h"

TBlankSet* BlankSet = nullptr;

TBlankSet::TBlankSet(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint) {
    setupUi(this);
    ApplyFormFont(this, 12);
    setFixedSize(169, 62);
    connect(OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
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
        const int64_t seconds = WholeIntegerFromText(blanktime->text());
        if (IsBlankSecondsAllowed(seconds))
            return static_cast<int32_t>(seconds);
        ShowMessage(QStringLiteral("時間設定が異常です。"));
    }
}
