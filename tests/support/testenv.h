#pragma once

#include <QString>
#include <QTemporaryDir>

// Gives the test its own settings and state folders ($XDG_CONFIG_HOME, $XDG_STATE_HOME) and resets
// the process-wide values, so every test starts like a first run.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();
    QString configHome() const { return dir_.path() + QStringLiteral("/config"); }
    QString stateHome() const { return dir_.path() + QStringLiteral("/state"); }
    QString settingsFile() const;
    // Writes the settings file with the given INI text.
    void writeSettings(const QByteArray& ini) const;
    QByteArray readSettings() const;

private:
    QTemporaryDir dir_;
    QByteArray oldConfig_;
    QByteArray oldState_;
};

// Resets PlayerSettings and the process-wide flags to their start values.
void ResetProcessState();
