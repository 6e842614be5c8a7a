#pragma once
// The size of a recording and the arrays every part exchanges its data through.
#include <array>

namespace pendulab {

inline constexpr int SampleCount = 2001;  // samples in one recording
inline constexpr int SampleIntervals = SampleCount - 1; // the steps between them: D seconds in 2000
inline constexpr int RawSampleRoom = 10002; // table handed to the card driver
inline constexpr int LongestDurationSeconds = 120; // of a recording, from 1 s

using Signal = std::array<double, SampleCount>;

} // namespace pendulab
