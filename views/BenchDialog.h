#pragma once
// "Banc simulé": the virtual card's pendulum (mass, stiffness, friction, release, rest position)
// and the exciter that moves the spring's top, for the recordings that follow. A teacher can hide
// the pendulum's values ("Masquer les valeurs": the boxes read •••, so the students measure them);
// the exciter stays a control the students turn. A refusal says why and changes nothing.
#include <QDialog>
#include <array>
#include <functional>

#include "core/Bench.h"

class QCheckBox;
class QLineEdit;

class TBenchDialog : public QDialog {
    Q_OBJECT
public:
    // Takes the settings for the next recordings; false when the bench refuses them.
    using Apply = std::function<bool(const pendulab::BenchSettings&)>;
    TBenchDialog(const pendulab::BenchSettings& start, Apply apply, QWidget* parent = nullptr);

    // "OK" (Return): the values typed, checked, applied, then the dialog closes; a refusal is
    // shown and the dialog stays as it was.
    void okClick();
    // The settings as last applied (or as started from).
    const pendulab::BenchSettings& settings() const { return values_; }

    static constexpr const char* Dots = "•••";

private:
    enum Box { Mass, Stiffness, Friction, Amplitude, Rest, Pulsation, ExciterAmplitude, BoxCount };
    static constexpr int PendulumBoxes = Rest + 1; // the values the teacher may hide
    void hideToggled(bool hidden);
    void showValues();                   // the boxes from values_, the pendulum's as ••• when hidden
    double typed(Box box) const;         // std::invalid_argument naming the box
    pendulab::BenchSettings typedSettings() const;

    pendulab::BenchSettings values_;
    Apply apply_;
    std::array<QLineEdit*, BoxCount> boxes_{};
    QCheckBox* exciter_ = nullptr;
    QCheckBox* hide_ = nullptr;
};
