#include "app/optionwin.h"

#include "app/centreonscreen.h"
#include "app/formfont.h"
#include "app/messages.h"
#include "app/moviesizecheck.h"
#include "app/numbertext.h"
#include "app/settingsstore.h"

TOptionWin* OptionWin = nullptr;

namespace {

int32_t numberOr(const TMaskEdit* field, int32_t d) {
    return NumberOr(field->fieldText(), d);
}

} // namespace

TOptionWin::TOptionWin(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint) {
    setupUi(this);
    ApplyFormFont(this, 12);
    setFixedSize(317, 219);
    // Also runs when the box is set while the dialog is filled.
    connect(AutoFlag, &QCheckBox::toggled, this, &TOptionWin::AutoFlagClick);
}

void TOptionWin::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
}

void TOptionWin::AutoFlagClick() {
    const bool enabled = !AutoFlag->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{Label5, Label6, Label7, Label8, MovShowX,
                                                      MovShowY, MovSizeX, MovSizeY})
        w->setEnabled(enabled);
}

void TOptionWin::FillFromSettings() {
    const TPlayerSettings& s = PlayerSettings;
    WinShowX->setText(QString::number(s.WinShowX));
    WinShowY->setText(QString::number(s.WinShowY));
    WinSizeX->setText(QString::number(s.WinSizeX));
    WinSizeY->setText(QString::number(s.WinSizeY));
    MovShowX->setText(QString::number(s.MovieShowX));
    MovShowY->setText(QString::number(s.MovieShowY));
    MovSizeX->setText(QString::number(s.MovieSizeX));
    MovSizeY->setText(QString::number(s.MovieSizeY));
    AutoFlag->setChecked(s.MovieAuto);
    KeyWaitFlag->setChecked(s.KeyWait);
    AfterKeyFlag->setChecked(s.AfterKey);
    DirectDrawUse->setChecked(s.DirectDrawUse);
    Play32bits->setChecked(s.Play32);
}

bool TOptionWin::CutOversizedMovie() {
    const MovieSizeCheck check =
        CheckMovieSize(numberOr(WinSizeX, 0), numberOr(WinSizeY, 0), numberOr(MovShowX, 0),
                       numberOr(MovShowY, 0), numberOr(MovSizeX, 0), numberOr(MovSizeY, 0));
    if (check.sizeX)
        MovSizeX->setText(QString::number(*check.sizeX));
    if (check.sizeY)
        MovSizeY->setText(QString::number(*check.sizeY));
    return check.overflow();
}

void TOptionWin::TakeSettings() {
    TPlayerSettings& s = PlayerSettings;
    s.WinShowX = numberOr(WinShowX, 0);
    s.WinShowY = numberOr(WinShowY, 0);
    s.WinSizeX = numberOr(WinSizeX, 640);
    s.WinSizeY = numberOr(WinSizeY, 480);
    s.MovieShowX = numberOr(MovShowX, 0);
    s.MovieShowY = numberOr(MovShowY, 0);
    s.MovieSizeX = numberOr(MovSizeX, 640);
    s.MovieSizeY = numberOr(MovSizeY, 480);
    s.MovieAuto = AutoFlag->isChecked();
    s.KeyWait = KeyWaitFlag->isChecked();
    s.AfterKey = AfterKeyFlag->isChecked();
    s.DirectDrawUse = DirectDrawUse->isChecked();
    s.Play32 = Play32bits->isChecked();
}

void TOptionWin::Execute() {
    FillFromSettings();
    for (;;) {
        OK->setFocus();
        if (exec() != QDialog::Accepted)
            return;
        if (!CutOversizedMovie() || AutoFlag->isChecked())
            break;
        ShowMessage(QStringLiteral("Movie領域がWindowからはみでています。"));
    }
    TakeSettings();
    SaveOptionSettings();
}
