// The modelling dialog in the unit shown: the amplitude and the offset read in volts, metres or
// centimetres as the pages do, while the model keeps its parameters in the samples' own unit.
#include <QCoreApplication>
#include <QLineEdit>
#include <algorithm>
#include <cmath>

#include "views/Accessibility.h"
#include "views/Format.h"
#include "views/conf1.h"

namespace {

// The box's range: the values `low` … `high` of the samples' unit, read in the unit shown.
void setShownRange(TValueBox* box, double a, double b)
{
    box->setRange(std::min(a, b), std::max(a, b));
}

void describeSteps(TValueBox* box, const QString& name, const QString& unit)
{
    describe(box, name,
             QCoreApplication::translate("Tconfig", "Flèches : ±%1 %2").arg(fmtNumber(box->singleStep(), 'f', box->decimals()), unit));
}

} // namespace

pendulab::DisplayScale Tconfig::followUnit()
{
    const pendulab::DisplayScale scale = session_->activeScale();
    if (scale == boxScale_) return scale; // another calibration changes the ranges as a unit does
    boxScale_ = scale;
    const QString unit = QString::fromStdString(scale.unit);
    const bool volts = scale.unit == "V";
    // Volts as they always were: the amplitude to the tenth, the offset to the hundredth.
    const int decimals = pendulab::displayDecimals(scale.unit);
    ampspin->setDecimals(volts ? 1 : decimals);
    offspin->setDecimals(decimals);
    setShownRange(ampspin, 0.0, scale.difference(30.0));
    setShownRange(offspin, scale.position(-10.0), scale.position(10.0));
    ampspin->setSingleStep(volts ? 0.1 : std::pow(10.0, -decimals));
    offspin->setSingleStep(std::pow(10.0, -decimals));
    for (TValueBox* box : {ampspin, offspin}) box->setSuffix(QLatin1Char(' ') + unit);
    describeSteps(ampspin, tr("Amplitude"), unit);
    describeSteps(offspin, tr("Décalage"), unit);
    return scale;
}

QString Tconfig::amplitudeText(bool rounded) const
{
    const pendulab::DisplayScale scale = session_->activeScale();
    const double amplitude = session_->parameters().amplitude;
    if (scale.unit == "V") return textOf(pendulab::Control::Amplitude, rounded ? std::round(amplitude * 100.0) / 100.0 : amplitude);
    return fmtFixed(scale.difference(amplitude), 1, pendulab::displayDecimals(scale.unit));
}
