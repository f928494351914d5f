#include "app/programicon.h"

// Outside any namespace, as Qt requires: links the icon's resource out of the static library.
static void initResources() {
    Q_INIT_RESOURCE(kestrune);
}

QIcon ProgramIconImage() {
    static const bool registered = (initResources(), true);
    Q_UNUSED(registered);
    return QIcon(QStringLiteral(":/kestrune.svg"));
}
