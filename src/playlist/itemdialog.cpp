#include "playlist/itemdialog.h"

#include "app/formfont.h"

#include <QAbstractButton>
#include <QDialog>

void SetUpItemDialog(QDialog* dialog, QSize clientSize, QAbstractButton* ok,
                     QAbstractButton* cancel) {
    ApplyFormFont(dialog, 12);
    dialog->setFixedSize(clientSize);
    QObject::connect(ok, &QAbstractButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QAbstractButton::clicked, dialog, &QDialog::reject);
}
