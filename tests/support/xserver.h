#pragma once

#include <QMap>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>

// A real X server for one test run, on a display number the server picks itself among the free
// ones. It is stopped when the object goes, and it dies with the test process if that dies first,
// so none is left running.
class TestXServer {
public:
    // Xorg with the dummy video driver and tests/support/xorg-dummy.conf: one output at 1024 x 768
    // that also offers 640 x 480 and 320 x 240. Needs root. Its log goes under the build tree.
    static std::unique_ptr<TestXServer> startXorgDummy(QString* failure);
    // Xvfb with the given extra arguments (for example "-screen 0 1024x768x24").
    static std::unique_ptr<TestXServer> startXvfb(const QStringList& arguments, QString* failure);
    ~TestXServer();

    // ":N"
    QString display() const { return display_; }

private:
    TestXServer() = default;
    bool start(const QString& program, const QStringList& arguments, QString* failure);

    QProcess process_;
    QString display_;
};

// The display configuration as the xrandr and xdpyinfo tools report it.
struct ReportedDisplay {
    QSize screen;
    QSize screenMm;
    // Every output that is on: where it is and its current mode as "WxH@refresh".
    QMap<QString, QRect> outputs;
    QMap<QString, QString> modes;

    friend bool operator==(const ReportedDisplay&, const ReportedDisplay&) = default;
    QString toString() const;
};

// Reads the configuration of the display; the failure is set when the tools fail.
ReportedDisplay ReportDisplay(const QString& display, QString* failure = nullptr);

// Runs the xrandr tool on the display with those arguments; true when it succeeds.
bool RunXrandr(const QString& display, const QStringList& arguments);

// A top-level window as the X server has it: where it is on the root window, whether it can be
// seen, and whether it is the topmost of the root window's viewable children.
struct ServerWindow {
    QRect rect;
    bool viewable = false;
    bool topmost = false;
};
ServerWindow InspectWindow(const QString& display, unsigned long window);

// Lets QCOMPARE print the configurations it compares.
char* toString(const ReportedDisplay& reported);
