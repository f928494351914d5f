#include "platform/xrandrguard.h"

#include <QCoreApplication>

QString DisplayGuardProgram;

namespace {

// Generous: the watchdog only connects to the server and reads its configuration.
constexpr int StartWaitMs = 10000;
constexpr int EndWaitMs = 5000;

QString programPath() {
    if (!DisplayGuardProgram.isEmpty())
        return DisplayGuardProgram;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/kestrune-displayguard");
}

} // namespace

bool DisplayGuard::start(const QString& displayName) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(programPath(), {displayName});
    if (!process_.waitForStarted(StartWaitMs))
        return false;
    while (!process_.canReadLine()) {
        if (!process_.waitForReadyRead(StartWaitMs))
            return false;
    }
    return process_.readLine().trimmed() == "ready";
}

DisplayGuard::~DisplayGuard() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.write("r");
    process_.closeWriteChannel();
    process_.waitForBytesWritten(EndWaitMs);
    if (!process_.waitForFinished(EndWaitMs))
        process_.kill();
    process_.waitForFinished(EndWaitMs);
}
