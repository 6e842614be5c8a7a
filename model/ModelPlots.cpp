#include "model/ModelPlots.h"

#include "core/FormatCore.h"
#include "core/VectorUnit.h"

namespace pendulab {

void computeModelPlots(std::span<const double> pos, std::span<const double> speed, int halfW,
                       int halfH, ModelPlotData& out)
{
    cleanVectorUnit();
    // Samples 1 … n − 2 (1999 for 2001 samples).
    constexpr std::size_t first = 1;
    const std::size_t n = pos.size() < speed.size() ? pos.size() : speed.size();
    out.portrait.clear();
    if (n < 3) {
        out.phaseScaleX = out.phaseScaleY = 0.0f;
        return;
    }
    const std::size_t last = n - 2;
    const Range posRange = rangeOf(pos, first, last);
    const Range speedRange = rangeOf(speed, first, last);
    if (speedRange.span() < 1e-6f || posRange.span() < 1e-6f) {
        out.phaseScaleX = 0.0f;
        out.phaseScaleY = 0.0f;
    } else {
        out.phaseScaleY = static_cast<float>(halfH / static_cast<double>(speedRange.span()));
        out.phaseScaleX = static_cast<float>(halfW / static_cast<double>(posRange.span()));
    }
    for (std::size_t i = first; i <= last; ++i) {
        out.portrait.push_back(
            {halfW + roundEvenClamped(static_cast<double>(out.phaseScaleX) * pos[i]),
             halfH - roundEvenClamped(1.3 * static_cast<double>(out.phaseScaleY) * speed[i])});
    }
}

} // namespace pendulab
