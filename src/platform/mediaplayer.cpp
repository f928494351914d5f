#include "platform/mediaplayer.h"

#include <QWidget>

class TMediaPlayer::Private {
public:
    QString fileName;
    QWidget* display = nullptr;
    int error = 0;
    bool open = false;
};

TMediaPlayer::TMediaPlayer(QObject* parent) : QObject(parent), d(std::make_unique<Private>()) {}
TMediaPlayer::~TMediaPlayer() = default;
void TMediaPlayer::setFileName(const QString& path) {
    d->fileName = path;
}
QString TMediaPlayer::fileName() const {
    return d->fileName;
}
void TMediaPlayer::setDisplay(QWidget* display) {
    d->display = display;
}
QWidget* TMediaPlayer::display() const {
    return d->display;
}
void TMediaPlayer::Open() {
    d->error = 1;
}
void TMediaPlayer::Close() {
    d->open = false;
}
void TMediaPlayer::Play() {
    throw MediaPlayerError("MCI ﾃﾞﾊﾞｲｽがありません");
}
void TMediaPlayer::Stop() {
    throw MediaPlayerError("MCI ﾃﾞﾊﾞｲｽがありません");
}
QRect TMediaPlayer::DisplayRect() const {
    return {};
}
void TMediaPlayer::setDisplayRect(const QRect&) {}
void TMediaPlayer::setTimeFormat(TTimeFormat) {}
int32_t TMediaPlayer::Length() const {
    throw MediaPlayerError("MCI ﾃﾞﾊﾞｲｽがありません");
}
void TMediaPlayer::setWait(bool) {}
void TMediaPlayer::setNotify(bool) {}
int TMediaPlayer::Error() const {
    return d->error;
}
QString TMediaPlayer::ErrorMessage() const {
    return QStringLiteral("原因不明のｴﾗｰ");
}
bool TMediaPlayer::isOpen() const {
    return d->open;
}
quint64 TMediaPlayer::lastPlay() const {
    return 0;
}
