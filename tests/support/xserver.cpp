#include "xserver.h"

#include <QDir>
#include <QRegularExpression>

#include <X11/Xlib.h>

#include <cerrno>
#include <csignal>
#include <sys/prctl.h>

namespace {

constexpr int StartWaitMs = 30000;
constexpr int StopWaitMs = 10000;

QString logFolder() {
    const QString folder = QStringLiteral(KESTRUNE_BUILD_DIR "/tests/xserver-logs");
    QDir().mkpath(folder);
    return folder;
}

QString runTool(const QString& program, const QStringList& arguments, QString* failure) {
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(StartWaitMs) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0) {
        if (failure)
            *failure = program + QStringLiteral(" failed: ") +
                       QString::fromLocal8Bit(tool.readAllStandardError());
        return {};
    }
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

} // namespace

std::unique_ptr<TestXServer> TestXServer::startXorgDummy(QString* failure) {
    const QString name = QString::fromLocal8Bit(program_invocation_short_name);
    // An empty folder for the configuration snippets, so that the machine's own (input devices,
    // other drivers) stay out of the test server.
    const QString snippets = logFolder() + QStringLiteral("/empty.d");
    QDir().mkpath(snippets);
    // -sharevts and -novtswitch: no virtual terminal is taken or switched to, so a developer's
    // console stays as it is; on a machine without one (CI) the server runs without a terminal.
    const QStringList arguments = {
        QStringLiteral("-config"),
        QStringLiteral(KESTRUNE_SOURCE_DIR "/tests/support/xorg-dummy.conf"),
        QStringLiteral("-configdir"),
        snippets,
        QStringLiteral("-logfile"),
        logFolder() + QLatin1Char('/') + name + QStringLiteral("-Xorg.log"),
        QStringLiteral("-noreset"),
        QStringLiteral("-nolisten"),
        QStringLiteral("tcp"),
        QStringLiteral("-sharevts"),
        QStringLiteral("-novtswitch")};
    std::unique_ptr<TestXServer> server(new TestXServer);
    if (!server->start(QStringLiteral("Xorg"), arguments, failure))
        return nullptr;
    return server;
}

std::unique_ptr<TestXServer> TestXServer::startXvfb(const QStringList& arguments,
                                                    QString* failure) {
    std::unique_ptr<TestXServer> server(new TestXServer);
    // Nothing here draws with OpenGL; leaving it out halves the start-up time.
    const QStringList fixed = {QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                               QStringLiteral("-extension"), QStringLiteral("GLX")};
    if (!server->start(QStringLiteral("Xvfb"), arguments + fixed, failure))
        return nullptr;
    return server;
}

bool TestXServer::start(const QString& program, const QStringList& arguments, QString* failure) {
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.setChildProcessModifier([] {
        // The server goes with the test process, however that ends.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
    // The server picks a free display number and writes it to standard output once it accepts
    // connections.
    process_.start(program,
                   arguments + QStringList{QStringLiteral("-displayfd"), QStringLiteral("1")});
    while (!process_.canReadLine()) {
        if (!process_.waitForReadyRead(StartWaitMs)) {
            if (failure)
                *failure = program + QStringLiteral(" did not start: ") +
                           QString::fromLocal8Bit(process_.readAllStandardError().right(2000));
            return false;
        }
    }
    bool number = false;
    const int display = process_.readLine().trimmed().toInt(&number);
    if (!number) {
        if (failure)
            *failure = program + QStringLiteral(" gave no display number");
        return false;
    }
    display_ = QStringLiteral(":%1").arg(display);
    return true;
}

TestXServer::~TestXServer() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(StopWaitMs)) {
        process_.kill();
        process_.waitForFinished(StopWaitMs);
    }
}

QString ReportedDisplay::toString() const {
    QString text = QStringLiteral("screen %1x%2 (%3x%4 mm)")
                       .arg(screen.width())
                       .arg(screen.height())
                       .arg(screenMm.width())
                       .arg(screenMm.height());
    for (auto it = outputs.cbegin(); it != outputs.cend(); ++it) {
        const QRect& r = it.value();
        text += QStringLiteral("; %1 %2x%3+%4+%5 %6")
                    .arg(it.key())
                    .arg(r.width())
                    .arg(r.height())
                    .arg(r.x())
                    .arg(r.y())
                    .arg(modes.value(it.key()));
    }
    return text;
}

char* toString(const ReportedDisplay& reported) {
    return qstrdup(reported.toString().toUtf8().constData());
}

ReportedDisplay ReportDisplay(const QString& display, QString* failure) {
    ReportedDisplay reported;
    const QString randr =
        runTool(QStringLiteral("xrandr"),
                {QStringLiteral("--display"), display, QStringLiteral("--query")}, failure);
    const QString info =
        runTool(QStringLiteral("xdpyinfo"), {QStringLiteral("-display"), display}, failure);

    static const QRegularExpression screenLine(QStringLiteral(R"(current (\d+) x (\d+))"));
    static const QRegularExpression outputLine(
        QStringLiteral(R"(^(\S+) (?:dis)?connected (?:primary )?(\d+)x(\d+)\+(\d+)\+(\d+))"));
    static const QRegularExpression currentMode(QStringLiteral(R"(^\s+(\d+x\d+)\s.*?([\d.]+)\*)"));
    static const QRegularExpression dimensions(
        QStringLiteral(R"(dimensions:\s+\d+x\d+ pixels \((\d+)x(\d+) millimeters\))"));

    QString output;
    for (const QString& line : randr.split(QLatin1Char('\n'))) {
        if (const auto m = screenLine.match(line);
            m.hasMatch() && line.startsWith(QLatin1String("Screen")))
            reported.screen = QSize(m.captured(1).toInt(), m.captured(2).toInt());
        if (!line.startsWith(QLatin1Char(' '))) {
            output.clear();
            if (const auto m = outputLine.match(line); m.hasMatch()) {
                output = m.captured(1);
                reported.outputs[output] = QRect(m.captured(4).toInt(), m.captured(5).toInt(),
                                                 m.captured(2).toInt(), m.captured(3).toInt());
            }
        } else if (!output.isEmpty()) {
            if (const auto m = currentMode.match(line); m.hasMatch())
                reported.modes[output] = m.captured(1) + QLatin1Char('@') + m.captured(2);
        }
    }
    if (const auto m = dimensions.match(info); m.hasMatch())
        reported.screenMm = QSize(m.captured(1).toInt(), m.captured(2).toInt());
    return reported;
}

bool RunXrandr(const QString& display, const QStringList& arguments) {
    QString failure;
    runTool(QStringLiteral("xrandr"), QStringList{QStringLiteral("--display"), display} + arguments,
            &failure);
    return failure.isEmpty();
}

ServerWindow InspectWindow(const QString& display, unsigned long window) {
    ServerWindow found;
    Display* connection = XOpenDisplay(display.toLocal8Bit().constData());
    if (!connection)
        return found;
    const Window root = DefaultRootWindow(connection);
    XWindowAttributes attributes;
    int x = 0, y = 0;
    Window child;
    if (XGetWindowAttributes(connection, window, &attributes) &&
        XTranslateCoordinates(connection, window, root, 0, 0, &x, &y, &child)) {
        found.rect = QRect(x, y, attributes.width, attributes.height);
        found.viewable = attributes.map_state == IsViewable;
    }
    Window rootReturn, parent;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(connection, root, &rootReturn, &parent, &children, &count)) {
        // Children come bottom to top.
        for (unsigned i = count; i-- > 0;) {
            XWindowAttributes a;
            if (XGetWindowAttributes(connection, children[i], &a) && a.map_state == IsViewable) {
                found.topmost = children[i] == window;
                break;
            }
        }
        XFree(children);
    }
    XCloseDisplay(connection);
    return found;
}
