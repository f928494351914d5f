#pragma once

#include <QLineEdit>
#include <QString>

// The forms' masked number field. Its mask is written as in the form descriptions: "####;0; " is
// four optional positions, each a digit, + or -; literals are not kept (there are none); an empty
// position shows as a space. The field overwrites position by position, selects its whole text
// when entered from the keyboard, and gives back what was typed with only the trailing blanks
// removed, so "6 4" stays "6 4" (QLineEdit::text() would drop the inner blank and read "64").
//
// Only masks made of '#' positions with a space as the blank are understood; any other mask is
// refused with std::invalid_argument.
class TMaskEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QString EditMask READ EditMask WRITE setEditMask)
public:
    explicit TMaskEdit(QWidget* parent = nullptr);

    QString EditMask() const { return editMask_; }
    void setEditMask(const QString& mask);

    // The text the field gives back: the typed characters, trailing blanks removed.
    QString fieldText() const;

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    QString editMask_;
};
