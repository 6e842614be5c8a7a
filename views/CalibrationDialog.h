#pragma once
// "Étalonner le capteur": how the sensor's volts become metres for the next recordings (and, when
// asked, for the active run). Three ways: a slope and an offset typed; two positions with the
// voltage at each, typed or read; the offset that makes the present reading the position 0 with
// the slope typed. A voltage read from the source is the mean of half a second of readings, taken
// on a timer: the window never waits. A refusal says why and changes nothing.
#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "core/Calibration.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTimer;
class TValueLabel;
namespace pendulab {
class Session;
} // namespace pendulab

class TCalibrationDialog : public QDialog {
    Q_OBJECT
public:
    // One reading of the input now, volts; none when the source cannot answer.
    using LiveReader = std::function<std::optional<double>()>;
    // Half a second of readings, one every 50 ms.
    static constexpr int ReadingPeriodMs = 50;
    static constexpr int ReadingSpanMs = 500;

    TCalibrationDialog(pendulab::Session* session, LiveReader readLive, QWidget* parent = nullptr);

    bool reading() const { return static_cast<bool>(done_); } // readings are being taken
    // The slope and offset boxes start from `c`: what the next recording would take from its source.
    void startFrom(const pendulab::Calibration& c);

    // "Appliquer": the calibration of the tab shown for the next recordings (and the active run
    // when asked), then the dialog closes; a refusal is shown and the dialog stays.
    void applyClick();
    // "Par défaut de la source": the next recordings take the source's own calibration.
    void sourceDefaultClick();
    // "Zéro ici": the offset that makes the present reading 0 with the slope typed.
    void zeroHereClick();

private:
    QWidget* buildTypedPage();
    QWidget* buildPointsPage();
    QWidget* buildZeroPage();
    void buildButtons();
    void prefill();
    // The number typed in `box`; std::invalid_argument naming the box (`name`) otherwise.
    double number(const QLineEdit* box, const QString& name) const;
    pendulab::Calibration typed() const;
    pendulab::Calibration twoPoints() const;
    // Reads the input for half a second, then hands the mean to `done`; `silent` is said when no
    // reading came.
    void startReading(std::function<void(double)> done, const QString& silent);
    void readingTick();
    void readInto(QLineEdit* box); // "Lire": the mean in `box`
    void setReading(bool on);

    pendulab::Session* session_;
    LiveReader readLive_;
    QTabWidget* ways_ = nullptr;
    QLineEdit *slopebox_ = nullptr, *offsetbox_ = nullptr;
    QLineEdit *point1pos_ = nullptr, *point2pos_ = nullptr, *point1volts_ = nullptr, *point2volts_ = nullptr;
    QComboBox* pointunit_ = nullptr;
    QPushButton *read1_ = nullptr, *read2_ = nullptr, *zerohere_ = nullptr;
    QPushButton *apply_ = nullptr, *sourcedefault_ = nullptr, *cancel_ = nullptr;
    QCheckBox* applyactive_ = nullptr;
    TValueLabel* status_ = nullptr; // what a reading is doing, or the offset "Zéro ici" found
    QTimer* sampler_ = nullptr;
    std::vector<double> readings_;
    int ticks_ = 0;
    std::function<void(double)> done_; // while reading
    QString silent_;
};
