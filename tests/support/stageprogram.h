#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

// A test binary doubles as a small program that shows the stage the way the sequencer does, so
// that a test can watch what becomes of the display when such a program ends in any way.
//
// The program loads the settings (from $XDG_CONFIG_HOME), places the stage from them, shows it,
// answers every dialog and message box with OK, and reports on standard output, one JSON object
// a line: {"event":"shown","changed":bool,"modal":[texts of the boxes]}. It then obeys lines on
// standard input: "hide" (reports {"event":"hidden","changed":bool}), "quit" (ends normally,
// windows destroyed), "exit" (ends at once through exit(), the stage never destroyed).

// Whether the binary was started as the stage program; call first thing in main().
bool IsStageProgram(int argc, char** argv);
int RunStageProgram(int argc, char** argv);

// main() for a test object whose binary also serves as the stage program.
#define KESTRUNE_STAGE_TEST_MAIN(TestObject)                                                       \
    int main(int argc, char** argv) {                                                              \
        if (IsStageProgram(argc, argv))                                                            \
            return RunStageProgram(argc, argv);                                                    \
        QApplication app(argc, argv);                                                              \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

// The stage program run by a test.
class StageProgram {
public:
    StageProgram() = default;
    ~StageProgram();
    StageProgram(const StageProgram&) = delete;
    StageProgram& operator=(const StageProgram&) = delete;

    // Starts it on the display with the settings folder and waits for its first report.
    bool start(const QString& display, const QString& configHome, QString* failure);
    // Starts the kestrune program itself in its place, with those arguments; it reports nothing.
    // False when it cannot be started.
    bool startKestrune(const QString& display, const QString& configHome,
                       const QStringList& arguments);
    // The next report; an empty object when none comes.
    QJsonObject nextReport();
    void send(const QByteArray& command);
    // Its process id, which is also the id of its process group.
    qint64 pid() const { return process_.processId(); }
    // Waits for the program to end; true when it has.
    bool waitForEnd();
    const QJsonObject& firstReport() const { return first_; }

private:
    void launch(const QString& program, const QStringList& arguments, const QString& display,
                const QString& configHome);

    QProcess process_;
    QJsonObject first_;
};

// The watchdog process that a program started for its display-mode switch; 0 when there is none.
qint64 DisplayGuardOf(qint64 pid);

// Makes this process the one that orphaned descendants are handed to, so a test can wait for a
// watchdog that outlives the program that started it.
void AdoptOrphans();

// Waits until the process has ended (reaping it when it was handed to this process); true when
// it has.
bool WaitForProcessEnd(qint64 pid);
