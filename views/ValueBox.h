#pragma once
// A box where a parameter's value is typed: a plain decimal number, with the decimal comma or point
// whatever the user's convention, within the box's range. Typing is free; a text that is no value
// of the box is refused when typing ends (Enter, focus leaving): the box keeps its last value, its
// frame turns red and its tooltip (and accessible description) says why, until a value is taken.
#include <QDoubleSpinBox>

class TValueBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    using QDoubleSpinBox::QDoubleSpinBox;

    // Why `text` (the box's text, with or without its unit) is no value of the box; empty when it is.
    QString problemWith(const QString& text) const;
    // The reason the last typed text was refused; empty when the box holds what was typed.
    QString refusal() const { return refusal_; }

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    double valueFromText(const QString& text) const override;
    void fixup(QString& input) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString number(const QString& text) const; // the text without the unit, trimmed
    void judgeTypedText();                     // before the base class takes or reverts it
    void showRefusal(const QString& why);
    QString refusal_;
    QString help_; // the tooltip while nothing is refused
};
