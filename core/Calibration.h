#pragma once
// How a sensor's samples become positions, and the units a run can be shown in.
// A calibration reads a sample x (in the samples' own unit: volts for a device) as the position
// y = slope·x + offset, in metres. The card's sensor reads 0,005 m/V from 0 m; a file in a length
// unit is its own calibration; a file in volts from elsewhere has none and is read in volts only.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pendulab {

struct Calibration {
    double slope = 0.005; // metres per unit of the samples (never 0)
    double offset = 0.0;  // metres at a sample of 0
    bool known = true;    // false: nothing turns the samples into positions
    bool operator==(const Calibration&) const = default;
};

inline constexpr double CardMetresPerVolt = 0.005;

// Metres per unit for the lengths Pendulab knows ("m", "cm", "mm"); none for any other unit.
std::optional<double> metresPerUnit(std::string_view unit);
// The calibration a file's unit carries: exact for a length, none otherwise.
Calibration calibrationOfUnit(std::string_view unit);

// What a file written before calibrations had offsets says: a length unit is its own calibration,
// volts were read at `metresPerVolt` from 0 m, any other unit has none.
Calibration legacyCalibration(std::string_view unit, double metresPerVolt);

// The ways to calibrate. Each throws std::invalid_argument with a French message when the values
// cannot make a calibration (a non-finite value, a zero slope, two equal voltages), nothing else.
// Slope (m per unit) and offset (m), typed.
Calibration typedCalibration(double slope, double offsetMetres);
// Two readings x1, x2 of the sensor at the positions y1, y2 (metres).
Calibration twoPointCalibration(double x1, double y1Metres, double x2, double y2Metres);
// The same slope, the offset such that `reading` is the position 0 ("Zéro ici").
Calibration zeroAt(const Calibration& c, double reading);

// How a run's values are shown: gain·x + shift in `unit` (a position), gain·dx for a difference
// or a derivative (its unit per second).
struct DisplayScale {
    double gain = 1.0, shift = 0.0;
    std::string unit = "V";
    double position(double x) const { return gain * x + shift; }
    double difference(double dx) const { return gain * dx; }
    double fromPosition(double y) const { return (y - shift) / gain; }
    double fromDifference(double dy) const { return dy / gain; }
    std::string speedUnit() const { return unit + "/s"; }
    bool operator==(const DisplayScale&) const = default;
};

// Decimals a position reads with in `unit`: hundredths of a volt or a centimetre, tenths of a
// millimetre, tenths of a millimetre in metres (4).
int displayDecimals(std::string_view unit);

// The units samples in `ownUnit` with calibration `c` can be shown in: the samples' own unit
// (unless it is a length the calibration reads), then "m" and "cm" when calibrated. Never empty.
std::vector<std::string> displayUnits(std::string_view ownUnit, const Calibration& c);
// The scale to `unit`; none when the samples cannot be shown in it.
std::optional<DisplayScale> displayScale(std::string_view ownUnit, const Calibration& c, std::string_view unit);

} // namespace pendulab
