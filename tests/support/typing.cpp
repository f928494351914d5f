#include "typing.h"

#include <QTest>
#include <QWidget>

namespace {

Qt::Key namedKey(QStringView name) {
    static const struct {
        const char* name;
        Qt::Key key;
    } keys[] = {{"Left", Qt::Key_Left},     {"Right", Qt::Key_Right},  {"Home", Qt::Key_Home},
                {"End", Qt::Key_End},       {"Del", Qt::Key_Delete},   {"BS", Qt::Key_Backspace},
                {"Return", Qt::Key_Return}, {"Escape", Qt::Key_Escape}};
    for (const auto& k : keys) {
        if (name == QLatin1String(k.name))
            return k.key;
    }
    qFatal("unknown key name [%s]", qPrintable(name.toString()));
}

} // namespace

void AwaitActive(QWidget* widget) {
    if (!QTest::qWaitForWindowActive(widget->window()))
        qWarning("%s did not become active", qPrintable(widget->window()->objectName()));
}

void TypeKeys(QWidget* widget, const QString& keys) {
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (keys[i] == u'[') {
            const qsizetype close = keys.indexOf(u']', i);
            QTest::keyClick(widget, namedKey(QStringView(keys).mid(i + 1, close - i - 1)));
            i = close;
        } else {
            QTest::keyClick(widget, keys[i].toLatin1());
        }
    }
}

void TabInAndType(QWidget* widget, const QString& keys) {
    widget->setFocus(Qt::TabFocusReason);
    TypeKeys(widget, keys);
}
