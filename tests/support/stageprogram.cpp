#include "stageprogram.h"

#include "app/settingsstore.h"
#include "modal.h"
#include "platform/xrandrguard.h"
#include "playback/blackwin.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr char Flag[] = "--stage-program";
constexpr int ReportWaitMs = 30000;
constexpr int EndWaitMs = 30000;

void report(const QJsonObject& object) {
    const QByteArray line = QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(line.constData(), 1, line.size(), stdout);
    std::fflush(stdout);
}

} // namespace

bool IsStageProgram(int argc, char** argv) {
    return argc > 1 && std::strcmp(argv[1], Flag) == 0;
}

int RunStageProgram(int argc, char** argv) {
    QApplication app(argc, argv);
    DisplayGuardProgram = QStringLiteral(KESTRUNE_BUILD_DIR "/kestrune-displayguard");
    LoadSettings();
    TBlackWin stage;
    BlackWin = &stage;

    QStringList modal;
    // More than any show can raise: the 32-bit notice and one error dialog.
    for (int i = 0; i < 4; ++i)
        PressOnNextModal(QStringLiteral("OK"), &modal);
    stage.setStageBounds(PlayerSettings.WinShowX, PlayerSettings.WinShowY, PlayerSettings.WinSizeX,
                         PlayerSettings.WinSizeY);
    stage.showStage();
    report({{"event", "shown"},
            {"changed", stage.displayModeChanged()},
            {"modal", QJsonArray::fromStringList(modal)}});

    QSocketNotifier commands(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&commands, &QSocketNotifier::activated, [&] {
        char line[64] = {};
        const ssize_t n = read(STDIN_FILENO, line, sizeof line - 1);
        const QByteArray command = QByteArray(line, n > 0 ? n : 0).trimmed();
        if (command == "hide") {
            stage.hideStage();
            report({{"event", "hidden"}, {"changed", stage.displayModeChanged()}});
        } else if (command == "exit") {
            std::exit(0);
        } else {
            QCoreApplication::quit();
        }
    });
    const int status = QCoreApplication::exec();
    BlackWin = nullptr;
    return status;
}

StageProgram::~StageProgram() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.kill();
    process_.waitForFinished(EndWaitMs);
}

void StageProgram::launch(const QString& program, const QStringList& arguments,
                          const QString& display, const QString& configHome) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    process_.setProcessEnvironment(env);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.setChildProcessModifier([] {
        // A process group of its own, as a program started from a shell has, so that a test can
        // signal the group as a terminal does.
        setpgid(0, 0);
        // A crash the test causes leaves no core file behind.
        const rlimit none{0, 0};
        setrlimit(RLIMIT_CORE, &none);
    });
    process_.start(program, arguments);
}

bool StageProgram::start(const QString& display, const QString& configHome, QString* failure) {
    launch(QCoreApplication::applicationFilePath(), {QString::fromLatin1(Flag)}, display,
           configHome);
    first_ = nextReport();
    if (first_.value(QStringLiteral("event")) != QStringLiteral("shown")) {
        *failure = QStringLiteral("the stage program did not report the shown stage");
        return false;
    }
    return true;
}

bool StageProgram::startKestrune(const QString& display, const QString& configHome,
                                 const QStringList& arguments) {
    launch(QStringLiteral(KESTRUNE_BINARY), arguments, display, configHome);
    return process_.waitForStarted(ReportWaitMs);
}

QJsonObject StageProgram::nextReport() {
    while (!process_.canReadLine()) {
        if (!process_.waitForReadyRead(ReportWaitMs))
            return {};
    }
    return QJsonDocument::fromJson(process_.readLine()).object();
}

void StageProgram::send(const QByteArray& command) {
    process_.write(command + '\n');
    process_.waitForBytesWritten(ReportWaitMs);
}

bool StageProgram::waitForEnd() {
    return process_.waitForFinished(EndWaitMs);
}

qint64 DisplayGuardOf(qint64 pid) {
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool number = false;
        const qint64 candidate = entry.toLongLong(&number);
        if (!number)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(candidate));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (comm) state ppid ..."; the command name is cut to 15 characters.
        const QByteArray text = stat.readAll();
        const qsizetype open = text.indexOf('(');
        const qsizetype close = text.lastIndexOf(')');
        if (open < 0 || close < open)
            continue;
        const QByteArray comm = text.mid(open + 1, close - open - 1);
        const QList<QByteArray> rest = text.mid(close + 2).split(' ');
        if (comm == "kestrune-displa" && rest.size() > 1 && rest[1].toLongLong() == pid)
            return candidate;
    }
    return 0;
}

void AdoptOrphans() {
    prctl(PR_SET_CHILD_SUBREAPER, 1);
}

bool WaitForProcessEnd(qint64 pid) {
    const int fd = static_cast<int>(syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0));
    if (fd < 0)
        return errno == ESRCH;
    pollfd ended{fd, POLLIN, 0};
    const bool done = poll(&ended, 1, EndWaitMs) == 1;
    close(fd);
    if (done)
        waitpid(static_cast<pid_t>(pid), nullptr, WNOHANG);
    return done;
}
