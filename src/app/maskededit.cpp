#include "app/maskededit.h"

#include <QFocusEvent>
#include <algorithm>
#include <stdexcept>

TMaskEdit::TMaskEdit(QWidget* parent) : QLineEdit(parent) {}

void TMaskEdit::setEditMask(const QString& mask) {
    const QStringList sections = mask.split(QLatin1Char(';'));
    const QString& positions = sections.constFirst();
    const bool understood =
        sections.size() == 3 && !positions.isEmpty() &&
        std::all_of(positions.begin(), positions.end(), [](QChar c) { return c == u'#'; }) &&
        (sections[1] == QLatin1String("0") || sections[1] == QLatin1String("1")) &&
        sections[2] == QLatin1String(" ");
    if (!understood)
        throw std::invalid_argument("unsupported edit mask: " + mask.toStdString());
    editMask_ = mask;
    // Qt's '#' is the same optional digit-or-sign position; the part after ';' is Qt's blank.
    setInputMask(positions + QStringLiteral("; "));
}

QString TMaskEdit::fieldText() const {
    QString text = displayText();
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    text.truncate(end);
    return text;
}

void TMaskEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // A masked QLineEdit puts the cursor at its start; the form's field selects everything, so
    // typing replaces the old value.
    switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        selectAll();
        break;
    default:
        break;
    }
}
