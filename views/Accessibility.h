#pragma once
// What assistive technology reads: value texts that expose their text as their value and announce
// its changes, and spinners with a value interface.
#include <QLabel>

// A read-only value text (ω0, Q, the slider read-outs, the interval).
class TValueLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // Sets the text and announces the change.
    void setValueText(const QString& text);
};

// Registers our accessible interfaces with Qt; called once at start-up (idempotent).
void installAccessibility();

// Gives a widget its accessible name and, when `description` is not empty, its description and hint.
void describe(QWidget* widget, const QString& name, const QString& description = {});
