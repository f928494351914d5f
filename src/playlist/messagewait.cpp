#include "playlist/messagewait.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QTimer>

namespace {

// The exit code with which these waits end their own loops. The program's end leaves every
// running loop with another code, and a loop started once it has ended returns at once with -1.
constexpr int WaitFinished = 0x4b535857;

} // namespace

bool HandleMessagesUntil(const std::function<bool()>& done) {
    if (done())
        return true;
    QEventLoop loop;
    // Emitted each time the pending messages are handled and the loop is about to sleep.
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     &loop, [&loop, &done] {
                         if (done())
                             loop.exit(WaitFinished);
                     });
    return loop.exec() == WaitFinished;
}

bool HoldWithoutInput(int seconds) {
    if (seconds <= 0)
        return true;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&loop] { loop.exit(WaitFinished); });
    timer.start(std::chrono::seconds(seconds));
    return loop.exec(QEventLoop::ExcludeUserInputEvents) == WaitFinished;
}
