#include "app/formatduration.h"

QString FormatDuration(int64_t ms) {
    return QString::asprintf("%lld:%02lld:%02lld.%03lld", static_cast<long long>(ms / 3600000),
                             static_cast<long long>(ms % 3600000 / 60000),
                             static_cast<long long>(ms % 60000 / 1000),
                             static_cast<long long>(ms % 1000));
}
