#include "core/FormatCore.h"
#include "core/Text.h"
#include "model/Fit.h"

namespace pendulab {

std::vector<std::string> fitReport(const FitResult& r, std::string_view sep)
{
    if (!r.ok) return {r.message};
    auto line = [&](std::string_view name, const FitValue& v, int precision, const char* unit) {
        std::string s = std::string(name) + " = " + formatFixed(v.value, 0, precision, sep) + " ± " + formatFixed(v.sigma, 0, precision, sep);
        if (*unit != '\0') s += std::string(" ") + unit;
        return s;
    };
    std::vector<std::string> out{
        line("k", r.stiffness, 2, "N/m"),
        line("h", r.friction, 3, "kg/s"),
        line("a", r.amplitude, 2, "V"),
        line(translated("Fit", "décalage"), r.offset, 3, "V"),
        line("t0", r.releaseTime, 3, "s"),
    };
    if (r.excited) out.push_back(line("F", r.exciterAmplitude, 2, ""));
    out.push_back(withArgs(translated("Fit", "écart-type = %1 V"), {formatFixed(r.rms, 0, 3, sep)}));
    return out;
}

} // namespace pendulab
