#pragma once
// The arithmetic of one acquisition run, apart from the card and the window.
#include <cstdint>
#include <optional>
#include <span>

namespace pendulab {

// The card timer setting for a whole duration of D seconds: Round((D·1000 − 180) / 2), i.e. D·500 − 90.
// Empty when it does not fit the card's 32-bit setting.
std::optional<std::int32_t> sampleTimerCountFor(std::int64_t seconds);

// Input code (0 … 4095, 2048 = 0 V) to volts, through single precision.
float codeToVolts(std::int32_t code);

// MeasPos from the 2001 converted samples: [0 … 2] as they are, then index k+3 the mean of
// samples k … k+7, the last four means taking what remains of their window.
void smoothMeasurement(std::span<const float> volts, std::span<double> measPos);

struct CardDriverTable;

// The sampling loop: one driver call, one conversion and, every 100 samples, `progress(percent)`
// (0, 5, … 100), for each of the volts.size() samples. Nothing else happens between driver calls.
using ProgressFn = void (*)(void* context, int percent);
void recordSamples(const CardDriverTable& card, std::int16_t* rawTable, std::span<float> volts, ProgressFn progress,
                   void* context);

} // namespace pendulab
