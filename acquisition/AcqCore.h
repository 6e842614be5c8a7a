#pragma once
// The arithmetic of one acquisition run, apart from the card and the window.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace pendulab {

// Input code (0 … 4095, 2048 = 0 V) to volts, through single precision.
float codeToVolts(std::int32_t code);

struct CardDriverTable;

// The sampling loop: one driver call and one conversion per sample, nothing else between driver
// calls but a look at `stop` and at the clock. Every 100 samples or BlockAge, whichever comes first,
// and after the last, `block(first, samples)` gets the samples converted since the previous block.
// Returns the number of samples recorded.
inline constexpr std::chrono::milliseconds BlockAge{20};
using BlockFn = std::function<void(std::size_t first, std::span<const float> samples)>;
std::size_t recordSamples(const CardDriverTable& card, std::int16_t* rawTable, std::span<float> volts,
                          const std::atomic<bool>& stop, const BlockFn& block);

} // namespace pendulab
