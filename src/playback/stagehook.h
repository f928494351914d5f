#pragma once

#include <QObject>

class TBlackWin;

// The application-wide filter of the stage: it hides the cursor over the stage and shows it over
// every other window of the program, and turns each physical left press on the stage or its panel
// into one start/stop input. It never consumes an event.
class StageMessageHook : public QObject {
    Q_OBJECT
public:
    explicit StageMessageHook(TBlackWin& stage);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isStage(QObject* object) const;
    TBlackWin& stage_;
};
