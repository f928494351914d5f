#include "pulseserver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <sys/prctl.h>

namespace {

constexpr int StartWaitMs = 20000;

} // namespace

std::unique_ptr<TestPulseServer> TestPulseServer::start(QString* failure) {
    std::unique_ptr<TestPulseServer> server(new TestPulseServer);
    if (!server->launch(failure))
        return nullptr;
    return server;
}

QString TestPulseServer::sinkName() {
    return QStringLiteral("kestrune_test_sink");
}

QProcessEnvironment TestPulseServer::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir_.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir_.filePath(QStringLiteral("runtime")));
    env.insert(QStringLiteral("PULSE_RUNTIME_PATH"),
               dir_.filePath(QStringLiteral("runtime/pulse")));
    env.insert(QStringLiteral("PULSE_STATE_PATH"), dir_.filePath(QStringLiteral("state")));
    env.insert(QStringLiteral("PULSE_COOKIE"),
               dir_.filePath(QStringLiteral("home/.config/pulse/cookie")));
    env.insert(QStringLiteral("PULSE_SERVER"),
               QStringLiteral("unix:") + dir_.filePath(QStringLiteral("runtime/pulse/native")));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    return env;
}

bool TestPulseServer::launch(QString* failure) {
    if (!dir_.isValid()) {
        *failure = QStringLiteral("no temporary folder");
        return false;
    }
    for (const char* sub : {"home", "runtime", "state"})
        QDir(dir_.path()).mkpath(QString::fromLatin1(sub));
    QFile::setPermissions(dir_.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    const QProcessEnvironment env = environment();
    process_.setProcessEnvironment(env);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.setChildProcessModifier([] {
        // The server goes with the test process, however that ends.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
    // Run as root (as on the build machines) the server wants to be told it is not the system's.
    process_.start(QStringLiteral("pulseaudio"),
                   {QStringLiteral("--daemonize=no"), QStringLiteral("--system=false"),
                    QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--disallow-exit"),
                    QStringLiteral("--use-pid-file=false"), QStringLiteral("--log-level=error"),
                    QStringLiteral("-n"), QStringLiteral("-L"),
                    QStringLiteral("module-native-protocol-unix"), QStringLiteral("-L"),
                    QStringLiteral("module-null-sink sink_name=") + sinkName()});
    if (!process_.waitForStarted()) {
        *failure = QStringLiteral("pulseaudio cannot be started: ") + process_.errorString();
        return false;
    }

    const QDeadlineTimer deadline(StartWaitMs);
    while (pactl({QStringLiteral("info")}).isEmpty()) {
        if (process_.state() != QProcess::Running || deadline.hasExpired()) {
            *failure = QStringLiteral("pulseaudio did not come up");
            return false;
        }
        QThread::msleep(50);
    }

    for (const QString& name :
         {QStringLiteral("XDG_RUNTIME_DIR"), QStringLiteral("PULSE_RUNTIME_PATH"),
          QStringLiteral("PULSE_COOKIE"), QStringLiteral("PULSE_SERVER")}) {
        const QByteArray key = name.toLatin1();
        savedEnvironment_.emplace_back(key, qEnvironmentVariableIsSet(key.constData())
                                                ? std::optional(qgetenv(key.constData()))
                                                : std::nullopt);
        qputenv(key.constData(), env.value(name).toLocal8Bit());
    }
    return true;
}

TestPulseServer::~TestPulseServer() {
    for (const auto& [key, value] : savedEnvironment_) {
        if (value)
            qputenv(key.constData(), *value);
        else
            qunsetenv(key.constData());
    }
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QByteArray TestPulseServer::pactl(const QStringList& arguments) const {
    QProcess tool;
    tool.setProcessEnvironment(environment());
    tool.start(QStringLiteral("pactl"), arguments);
    if (!tool.waitForFinished(10000) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0) {
        tool.kill();
        tool.waitForFinished();
        return {};
    }
    const QByteArray out = tool.readAllStandardOutput();
    return out.isEmpty() ? QByteArray("\n") : out;
}

int TestPulseServer::sinkVolumePercent() const {
    const QString out =
        QString::fromLocal8Bit(pactl({QStringLiteral("get-sink-volume"), sinkName()}));
    int loudest = -1;
    QRegularExpression percent(QStringLiteral("(\\d+)%"));
    for (auto it = percent.globalMatch(out); it.hasNext();)
        loudest = std::max(loudest, it.next().captured(1).toInt());
    return loudest;
}
