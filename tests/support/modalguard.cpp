#include "modalguard.h"

#include "modal.h"

#include <QDialog>

void GuardUnexpectedModals(QStringList* seen, int count) {
    for (int i = 0; i < count; ++i) {
        OnNextModal([seen](QWidget* modal) {
            *seen << WidgetTexts(modal).join(u'|');
            // done() closes even a dialog that refuses to be rejected.
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->done(QDialog::Rejected);
        });
    }
}
