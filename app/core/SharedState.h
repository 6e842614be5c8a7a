#pragma once
// The buffers and parameters every part of Pendulab exchanges its data through.
// One instance lives in the main window for the whole run; everything starts at zero.
#include <array>
#include <cstdint>

namespace pendulab {

inline constexpr int SampleCount = 2001;
inline constexpr int RawSampleRoom = 10002;

using Signal = std::array<double, SampleCount>;

struct SharedState {
    Signal MeasPos{};    // measured position, volts
    Signal MeasSpeed{};  // measured derivative, volts per second
    Signal ModelPos{};   // model position, volts
    Signal ModelSpeed{}; // model derivative, volts per second

    std::array<std::int16_t, RawSampleRoom> RawSample{}; // table handed to the card driver
    std::array<std::uint8_t, 3> ChannelTable{};          // 0, 255, 255 once the card is found
    std::int32_t SampleTimerCount = 0;                   // timer setting given to the driver

    float Mass = 0.0f;      // kg
    float Friction = 0.0f;  // kg/s
    float Stiffness = 0.0f; // N/m

    float PhaseScaleX = 0.0f; // pixels per volt
    float PhaseScaleY = 0.0f; // pixels per derivative unit
    double CursorStartTime = 0.0; // seconds
};

} // namespace pendulab
