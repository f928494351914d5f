#include "modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <deque>

namespace {

std::deque<std::function<void(QWidget*)>>& actions() {
    static std::deque<std::function<void(QWidget*)>> queue;
    return queue;
}

// Tracked by a guarded pointer: a later widget may be made at the address of a deleted one.
QPointer<QWidget> lastAnswered;
QTimer* poller = nullptr;

void poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || actions().empty() || modal == lastAnswered)
        return;
    lastAnswered = modal;
    // A dialog shown again at once (its caller loops back to it) must be answered anew.
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        QObject::connect(
            dialog, &QDialog::finished, dialog, [] { lastAnswered = nullptr; },
            Qt::SingleShotConnection);
    auto action = std::move(actions().front());
    actions().pop_front();
    action(modal);
}

void ensurePoller() {
    if (poller)
        return;
    poller = new QTimer(qApp);
    poller->setInterval(10);
    QObject::connect(poller, &QTimer::timeout, [] {
        poll();
        // A closed modal widget may be opened again (a dialog shown once more): answer it anew.
        if (!QApplication::activeModalWidget())
            lastAnswered = nullptr;
    });
    poller->start();
}

} // namespace

void OnNextModal(std::function<void(QWidget*)> action) {
    ensurePoller();
    actions().push_back(std::move(action));
}

void PressOnNextModal(const QString& buttonText, QStringList* seenTexts) {
    OnNextModal([buttonText, seenTexts](QWidget* modal) {
        if (seenTexts)
            *seenTexts << WidgetTexts(modal);
        if (!ClickButton(modal, buttonText)) {
            // Close it all the same, so that a missing button fails the test instead of hanging it.
            qWarning("no button '%s' on the modal widget", qPrintable(buttonText));
            modal->close();
        }
    });
}

int PendingModalActions() {
    return static_cast<int>(actions().size());
}

void ClearModalActions() {
    actions().clear();
}

QStringList WidgetTexts(QWidget* widget) {
    QStringList texts;
    texts << widget->windowTitle();
    for (QLabel* label : widget->findChildren<QLabel*>()) {
        if (!label->text().isEmpty())
            texts << label->text();
    }
    return texts;
}

bool ClickButton(QWidget* widget, const QString& text) {
    for (QAbstractButton* button : widget->findChildren<QAbstractButton*>()) {
        QString caption = button->text();
        caption.remove(QLatin1Char('&'));
        if (caption == text) {
            button->click();
            return true;
        }
    }
    return false;
}
