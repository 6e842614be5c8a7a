#pragma once
// One mapping per dialog control: slider or spinner position → exact value → display text, and a
// value back to the nearest position. The model, the dialog's labels and the tests all use these.
#include <string>
#include <string_view>

namespace pendulab {

enum class Control {
    Stiffness,        // ktrack, N/m
    Friction,         // htrack, kg/s
    Mass,             // mtrack, kg
    Amplitude,        // UpDown9, volts
    Offset,           // UpDown10, volts
    ReleaseTime,      // UpDown1, seconds
    ExciterPulsation, // oetrack, rad/s
    ExciterAmplitude, // amptrack
};

int minPosition(Control c);
int maxPosition(Control c);
// The exact value at a position.
double valueAt(Control c, int position);
// The position whose value is nearest to `value`, held in the control's range.
int nearestPosition(Control c, double value);
// The read-out beside the control ("20.0 N/m", "0.20 si", "300 gr", "10.00 rd/s", …), separator given.
std::string valueText(Control c, double value, std::string_view decimalSeparator);

} // namespace pendulab
