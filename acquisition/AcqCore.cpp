#include "acquisition/AcqCore.h"

#include <chrono>
#include <cmath>
#include <limits>

#include "acquisition/AcqData.h"
#include "core/VectorUnit.h"

namespace pendulab {

float codeToVolts(std::int32_t code)
{
    return static_cast<float>((static_cast<long double>(code) - 2048.0L) / 204.8L);
}

void smoothMeasurement(std::span<const double> volts, std::span<double> pos)
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

std::size_t recordSamples(const CardDriverTable& card, std::int16_t* raw, std::span<float> volts,
                          const std::atomic<bool>& stop, const BlockFn& block)
{
    cleanVectorUnit();
    std::int32_t scratch = 0;
    std::size_t delivered = 0;
    std::size_t i = 0;
    auto lastBlock = std::chrono::steady_clock::now();
    for (; i < volts.size() && !stop.load(std::memory_order_relaxed); ++i) {
        card.AcquerirTable(raw, &scratch);
        volts[i] = codeToVolts(raw[1]);
        const auto now = std::chrono::steady_clock::now();
        if (i % 100 == 0 || now - lastBlock >= BlockAge) {
            block(delivered, volts.subspan(delivered, i + 1 - delivered));
            delivered = i + 1;
            lastBlock = now;
        }
    }
    if (delivered < i) block(delivered, volts.subspan(delivered, i - delivered));
    return i;
}

} // namespace pendulab
