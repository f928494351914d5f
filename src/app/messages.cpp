#include "app/messages.h"

#include <QApplication>
#include <QMessageBox>

namespace {

int runBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
           QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, caption, text, buttons, QApplication::activeWindow());
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setDefaultButton(defaultButton);
    return box.exec();
}

} // namespace

void ShowMessage(const QString& text) {
    runBox(QMessageBox::NoIcon, ApplicationTitle, text, QMessageBox::Ok, QMessageBox::Ok);
}

void ShowFailure(const QString& text) {
    runBox(QMessageBox::Critical, ApplicationTitle, text, QMessageBox::Ok, QMessageBox::Ok);
}

void ShowStopMessage(const QString& caption, const QString& text) {
    runBox(QMessageBox::Critical, caption, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool AskYesNo(const QString& caption, const QString& text) {
    return runBox(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                  QMessageBox::No) == QMessageBox::Yes;
}
