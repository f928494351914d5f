#include "audio/shape.h"

#include <QPainter>

TShape::TShape(QWidget* parent) : QWidget(parent) {}

void TShape::setColour(const QString& name) {
    // The form library's green is the dark one; its lime is full green.
    colour_ = name == QLatin1String("green") ? QColor(0, 128, 0) : QColor(name);
    update();
}

void TShape::setOutlined(bool outlined) {
    outlined_ = outlined;
    update();
}

void TShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Without an outline the fill leaves out the right and bottom edge, as the pen would have
    // drawn them.
    const QRect area = outlined_ ? rect() : rect().adjusted(0, 0, -1, -1);
    painter.fillRect(area, colour_);
}
