#include "acquisition/AcqCore.h"

#include <cmath>
#include <limits>

#include "acquisition/AcqData.h"
#include "app/core/VectorUnit.h"

namespace pendulab {

std::optional<std::int32_t> sampleTimerCountFor(std::int64_t seconds)
{
    const long double setting = std::nearbyint((static_cast<long double>(seconds) * 1000.0L - 180.0L) / 2.0L);
    if (setting > std::numeric_limits<std::int32_t>::max() || setting < std::numeric_limits<std::int32_t>::min())
        return std::nullopt;
    return static_cast<std::int32_t>(setting);
}

float codeToVolts(std::int32_t code)
{
    return static_cast<float>((static_cast<long double>(code) - 2048.0L) / 204.8L);
}

void smoothMeasurement(std::span<const float> volts, std::span<double> pos)
{
    const std::size_t n = volts.size() < pos.size() ? volts.size() : pos.size();
    if (n < 8) return;
    for (std::size_t i = 0; i < 3; ++i) pos[i] = volts[i];
    for (std::size_t k = 0; k + 3 < n; ++k) {
        const std::size_t end = k + 8 < n ? k + 8 : n;
        long double sum = 0.0L;
        for (std::size_t j = k; j < end; ++j) sum += volts[j];
        pos[k + 3] = static_cast<double>(sum) / static_cast<double>(end - k);
    }
}

void recordSamples(const CardDriverTable& card, std::int16_t* raw, std::span<float> volts, ProgressFn progress,
                   void* context)
{
    cleanVectorUnit();
    std::int32_t scratch = 0;
    const std::size_t last = volts.empty() ? 0 : volts.size() - 1;
    for (std::size_t i = 0; i < volts.size(); ++i) {
        card.AcquerirTable(raw, &scratch);
        volts[i] = codeToVolts(raw[1]);
        if (i % 100 == 0 && last > 0)
            progress(context, static_cast<int>(std::nearbyint(static_cast<double>(i) * 100.0 / static_cast<double>(last))));
    }
}

} // namespace pendulab
