#include "core/Calibration.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/Text.h"

namespace pendulab {

namespace {

void checkFinite(std::initializer_list<double> values)
{
    for (double v : values)
        if (!std::isfinite(v)) throw std::invalid_argument(translated("Calibration", "Chaque valeur de l'étalonnage doit être un nombre."));
}

Calibration checked(Calibration c)
{
    checkFinite({c.slope, c.offset});
    if (c.slope == 0.0) throw std::invalid_argument(translated("Calibration", "La pente de l'étalonnage ne peut pas être nulle."));
    return c;
}

} // namespace

std::optional<double> metresPerUnit(std::string_view unit)
{
    if (unit == "m") return 1.0;
    if (unit == "cm") return 0.01;
    if (unit == "mm") return 0.001;
    return std::nullopt;
}

Calibration calibrationOfUnit(std::string_view unit)
{
    if (const auto metres = metresPerUnit(unit)) return Calibration{*metres, 0.0, true};
    return Calibration{1.0, 0.0, false};
}

Calibration legacyCalibration(std::string_view unit, double metresPerVolt)
{
    if (unit == "V" && std::isfinite(metresPerVolt) && metresPerVolt != 0.0) return Calibration{metresPerVolt, 0.0, true};
    return calibrationOfUnit(unit);
}

Calibration typedCalibration(double slope, double offsetMetres)
{
    return checked(Calibration{slope, offsetMetres, true});
}

Calibration twoPointCalibration(double x1, double y1Metres, double x2, double y2Metres)
{
    checkFinite({x1, y1Metres, x2, y2Metres});
    if (x1 == x2) throw std::invalid_argument(translated("Calibration", "Les deux points ont la même tension : l'étalonnage demande deux lectures différentes."));
    const double slope = (y2Metres - y1Metres) / (x2 - x1);
    if (y1Metres == y2Metres) throw std::invalid_argument(translated("Calibration", "Les deux points sont à la même position : l'étalonnage demande deux positions différentes."));
    return checked(Calibration{slope, y1Metres - slope * x1, true});
}

Calibration zeroAt(const Calibration& c, double reading)
{
    checkFinite({reading});
    Calibration out = checked(c);
    out.offset = -c.slope * reading;
    out.known = true;
    return checked(out);
}

int displayDecimals(std::string_view unit)
{
    if (unit == "m") return 4;
    if (unit == "mm") return 1;
    return 2;
}

std::vector<std::string> displayUnits(std::string_view ownUnit, const Calibration& c)
{
    std::vector<std::string> units;
    // The samples' own unit as it is, unless the calibration reads it (a length calibrated).
    if (!metresPerUnit(ownUnit) || !c.known) units.emplace_back(ownUnit);
    if (c.known) {
        if (ownUnit == "mm") units.emplace_back("mm");
        units.emplace_back("m");
        units.emplace_back("cm");
    }
    return units;
}

std::optional<DisplayScale> displayScale(std::string_view ownUnit, const Calibration& c, std::string_view unit)
{
    const std::vector<std::string> units = displayUnits(ownUnit, c);
    if (std::find(units.begin(), units.end(), unit) == units.end()) return std::nullopt;
    const auto metres = metresPerUnit(unit);
    if (!metres || !c.known) return DisplayScale{1.0, 0.0, std::string(unit)}; // the samples' own unit
    return DisplayScale{c.slope / *metres, c.offset / *metres, std::string(unit)};
}

} // namespace pendulab
