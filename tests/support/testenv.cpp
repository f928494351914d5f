#include "testenv.h"

#include "app/processflags.h"
#include "app/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TestEnvironment::TestEnvironment()
    : oldConfig_(qgetenv("XDG_CONFIG_HOME")), oldState_(qgetenv("XDG_STATE_HOME")) {
    QDir().mkpath(configHome());
    QDir().mkpath(stateHome());
    qputenv("XDG_CONFIG_HOME", configHome().toLocal8Bit());
    qputenv("XDG_STATE_HOME", stateHome().toLocal8Bit());
    ResetProcessState();
}

TestEnvironment::~TestEnvironment() {
    qputenv("XDG_CONFIG_HOME", oldConfig_);
    qputenv("XDG_STATE_HOME", oldState_);
}

QString TestEnvironment::settingsFile() const {
    return configHome() + QStringLiteral("/Quillmoor/Kestrune.conf");
}

void TestEnvironment::writeSettings(const QByteArray& ini) const {
    QDir().mkpath(QFileInfo(settingsFile()).absolutePath());
    QFile file(settingsFile());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(ini);
}

QByteArray TestEnvironment::readSettings() const {
    QFile file(settingsFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void ResetProcessState() {
    PlayerSettings = TPlayerSettings{};
    PlaybackState = Idle;
    MovieActive = false;
    MoreItemsFollow = false;
    AnalysisArmed = false;
}
