#include "app/infowin.h"

#include "app/centreonscreen.h"
#include "app/formatduration.h"
#include "app/formfont.h"

#include <QPalette>

Tinfo* info = nullptr;

Tinfo::Tinfo(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint) {
    setupUi(this);
    ApplyFormFont(this, 16);
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    setPalette(black);
    setFixedSize(277, 120);
    // The captions size themselves to their text; the value labels keep their width and cut.
    for (QLabel* caption : {Label1, Label2, Label3})
        caption->adjustSize();
}

void Tinfo::ShowMovie(const QString& path, int width, int height, int32_t lengthMs) {
    filename->setText(path);
    size->setText(QStringLiteral("%1,%2").arg(width).arg(height));
    time->setText(FormatDuration(lengthMs));
}

void Tinfo::reject() {}

void Tinfo::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
}
