#include "app/formfont.h"

#include <QFont>
#include <QStringList>
#include <QWidget>

void RegisterFormFontSubstitutes() {
    QFont::insertSubstitutions(QString::fromUtf8(FormFontFamily),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                                QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic")});
}

void ApplyFormFont(QWidget* widget, int pixelSize, bool bold) {
    QFont font(QString::fromUtf8(FormFontFamily));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    widget->setFont(font);
}
