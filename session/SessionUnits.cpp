// The units runs are shown in, and the calibrations that turn their samples into positions.
#include <algorithm>
#include <stdexcept>

#include "acquisition/SampleSource.h"
#include "core/Text.h"
#include "session/Session.h"

namespace pendulab {

void Session::setDisplayUnit(const std::string& unit)
{
    if (unit != "V" && !metresPerUnit(unit)) throw std::invalid_argument(translated("Session", "Unité inconnue."));
    if (unit == displayUnit_) return;
    displayUnit_ = unit;
    emit displayUnitChanged();
}

std::vector<std::string> Session::unitChoices() const
{
    const Measurement& m = current().measurement;
    return displayUnits(m.unit, m.calibration);
}

std::string Session::shownUnit() const
{
    const std::vector<std::string> units = unitChoices();
    const auto offered = [&](const std::string& unit) { return std::find(units.begin(), units.end(), unit) != units.end(); };
    if (offered(displayUnit_)) return displayUnit_;
    const std::string& own = current().measurement.unit; // a file in centimetres reads as written
    if (offered(own)) return own;
    return units.empty() ? std::string("V") : units.front();
}

std::optional<DisplayScale> Session::scaleOf(const Run& run) const
{
    return displayScale(run.measurement.unit, run.measurement.calibration, shownUnit());
}

void Session::setNextCalibration(const std::optional<Calibration>& c)
{
    if (c) typedCalibration(c->slope, c->offset); // refuses what cannot be one
    if (c == nextCalibration_) return;
    nextCalibration_ = c;
    alone_.measurement.calibration = c.value_or(Calibration{});
    if (alone_.modelComputed) computeRunModel(alone_);
    emit nextCalibrationChanged();
    if (!hasMeasurement()) emit measurementChanged();
}

Calibration Session::calibrationFor(const SampleSource& source) const
{
    return nextCalibration_.value_or(Calibration{source.metresPerVolt(), 0.0, true});
}

void Session::setRunCalibration(int index, const Calibration& c)
{
    Run& run = at(index);
    if (c.known) typedCalibration(c.slope, c.offset);
    run.measurement.calibration = c;
    if (run.modelComputed) computeRunModel(run);
    setModified(true);
    if (index == active_) emit measurementChanged();
    else emit othersChanged();
}

} // namespace pendulab
