#include "playlist/movsetup.h"

#include "app/centreonscreen.h"
#include "playlist/itemdialog.h"

TMovSetup* MovSetup = nullptr;

namespace {

QString withoutLastCharacter(QString text) {
    text.chop(1);
    return text;
}

QString pairText(const QString& a, const QString& b) {
    return QString::number(NumberFromText(a)) + QLatin1Char(',') +
           QString::number(NumberFromText(b));
}

} // namespace

TMovSetup::TMovSetup(QWidget* parent) : QDialog(parent, ItemDialogFlags) {
    setupUi(this);
    SetUpItemDialog(this, QSize(304, 159), OK, Cancel);
}

void TMovSetup::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
}

void TMovSetup::FillFrom(const PlaylistItem& item, const TPlayerSettings& settings) {
    const QStringList& sub = item.subItems;
    WinSizeX->setText(QString::number(settings.WinSizeX));
    WinSizeY->setText(QString::number(settings.WinSizeY));
    MovSizeX->setText(sub.value(SubMovSizeX));
    MovSizeY->setText(sub.value(SubMovSizeY));
    ShowSizeX->setText(sub.value(SubShowSizeX));
    ShowSizeY->setText(sub.value(SubShowSizeY));
    ShowPosX->setText(sub.value(SubShowPosX));
    ShowPosY->setText(sub.value(SubShowPosY));
    MasterVol->setText(withoutLastCharacter(sub.value(SubMasterVol)));
    WaveVol->setText(withoutLastCharacter(sub.value(SubWaveVol)));
}

void TMovSetup::TakeInto(PlaylistItem& item) const {
    QStringList& sub = item.subItems;
    while (sub.size() <= SubShowPosY)
        sub.append(QString());
    sub[SubShowSizeX] = ShowSizeX->fieldText();
    sub[SubShowSizeY] = ShowSizeY->fieldText();
    sub[SubShowPosX] = ShowPosX->fieldText();
    sub[SubShowPosY] = ShowPosY->fieldText();
    sub[SubShowSize] = pairText(sub[SubShowSizeX], sub[SubShowSizeY]);
    sub[SubShowPos] = pairText(sub[SubShowPosX], sub[SubShowPosY]);
    sub[SubMasterVol] = MasterVol->fieldText() + QLatin1Char('%');
    sub[SubWaveVol] = WaveVol->text() + QLatin1Char('%');
}
