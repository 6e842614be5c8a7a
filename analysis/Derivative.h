#pragma once
// The measured derivative and phase portrait, from the smoothed position.
#include <cstddef>
#include <span>
#include <vector>

namespace pendulab {

struct PixelPoint {
    int x;
    int y;
    bool operator==(const PixelPoint&) const = default;
};

// Range kept with single-precision accumulators starting at ±999999.
struct Range {
    float min = 999999.0f;
    float max = -999999.0f;
    float span() const { return max - min; }
};
Range rangeOf(std::span<const double> values, std::size_t first, std::size_t last);

// The fewest samples a run is analysed with (its derivative and portrait need 21).
inline constexpr std::size_t MinimumDerivedSamples = 21;

// MeasSpeed from MeasPos (n samples each, n ≥ 21), in volts per second, dt in seconds:
// [0] = 0; [1 … 3] the first three differences; [4] the mean of the first nine differences;
// [5 … n − 6] the ten-point mean of the differences around it; the last five left untouched
// (for 2001 samples: [5 … 1995], then [1996 … 2000]). Fewer samples: nothing is written.
void computeMeasuredSpeed(std::span<const double> pos, std::span<double> speed, double dt);
// The same windows for samples at the given instants (seconds, rising): each value is the rise of
// the position over its window divided by the window's time.
void computeMeasuredSpeedAt(std::span<const double> pos, std::span<const double> instants, std::span<double> speed);

struct PortraitData {
    float phaseScaleX = 0.0f;
    float phaseScaleY = 0.0f; // includes the 1.3 vertical factor
    std::vector<PixelPoint> points; // samples 6 … n − 11 (1990 for 2001 samples)
};

// Scales and pixel points of the measured portrait around (halfW, halfH).
void computeMeasuredPortrait(std::span<const double> pos, std::span<const double> speed, int halfW,
                             int halfH, PortraitData& out);
// The pixel points of another run's portrait at the scales `on` holds (its phaseScaleX and
// phaseScaleY), so that it is drawn on the same axes: samples 6 … n − 11 as above.
void portraitPointsAt(std::span<const double> pos, std::span<const double> speed, int halfW, int halfH,
                      const PortraitData& on, std::vector<PixelPoint>& points);

// Arrow heads at the ends of the axes of an image `width` wide: two polylines of three points.
std::vector<PixelPoint> horizontalArrowHead(int width, int halfH);
std::vector<PixelPoint> verticalArrowHead(int halfW);

// Integer halving that truncates toward zero.
inline int halfOf(int size) { return size / 2; }

} // namespace pendulab
