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

std::size_t recordSamples(const CardDriverTable& card, std::int16_t* raw, std::span<float> volts,
                          const std::atomic<bool>& stop, const BlockFn& block)
{
    cleanVectorUnit();
    std::int32_t scratch = 0;
    std::size_t delivered = 0;
    std::size_t i = 0;
    auto lastBlock = std::chrono::steady_clock::now();
    for (; i < volts.size() && !stop.load(std::memory_order_relaxed); ++i) {
        // A wait for the sample cut short by a stop brings no sample: the run ends before it.
        if (card.AcquerirTable(raw, &scratch) == sysam::AcquisitionInterrupted && stop.load()) break;
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
