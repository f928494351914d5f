#pragma once

#include <QColor>
#include <QWidget>

// A filled rectangle in one colour, outlined in the same colour unless told otherwise.
class TShape : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString colour READ colour WRITE setColour)
    Q_PROPERTY(bool outlined READ outlined WRITE setOutlined)
public:
    explicit TShape(QWidget* parent = nullptr);

    QString colour() const { return colour_.name(); }
    void setColour(const QString& name);
    bool outlined() const { return outlined_; }
    void setOutlined(bool outlined);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_ = Qt::white;
    bool outlined_ = true;
};
