#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <vector>

// A private PulseAudio server with one null sink, in a runtime folder of its own, for the life of
// the object. While it runs, this process's environment points PulseAudio clients (ALSA's pulse
// plugin included) at it; the environment is put back and the server stopped when the object
// goes, and the server also dies with the test process. Start it before anything in the process
// uses ALSA: ALSA reads its configuration, which picks the server as "default", only once.
class TestPulseServer {
public:
    static std::unique_ptr<TestPulseServer> start(QString* failure);
    ~TestPulseServer();

    // The null sink, the server's default.
    static QString sinkName();
    // Runs pactl against the server; its standard output, or empty on failure.
    QByteArray pactl(const QStringList& arguments) const;
    // The volume of the sink in percent as pactl reports it (the loudest channel); -1 on failure.
    int sinkVolumePercent() const;

private:
    TestPulseServer() = default;
    bool launch(QString* failure);
    QProcessEnvironment environment() const;

    QTemporaryDir dir_;
    QProcess process_;
    std::vector<std::pair<QByteArray, std::optional<QByteArray>>> savedEnvironment_;
};
