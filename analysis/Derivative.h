#pragma once
// The measured derivative and phase portrait, from the smoothed position.
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

// MeasSpeed from MeasPos (both 2001 samples), in volts per second, dt in seconds:
// [0] = 0; [1 … 3] the first three differences; [4] the mean of the nine differences that exist;
// [5 … 1995] the ten-point mean of the differences around n; [1996 … 2000] left untouched.
void computeMeasuredSpeed(std::span<const double> pos, std::span<double> speed, double dt);

struct PortraitData {
    float phaseScaleX = 0.0f;
    float phaseScaleY = 0.0f; // includes the 1.3 vertical factor
    std::vector<PixelPoint> points; // samples 6 … 1990
};

// Scales and pixel points of the measured portrait around (halfW, halfH).
void computeMeasuredPortrait(std::span<const double> pos, std::span<const double> speed, int halfW,
                             int halfH, PortraitData& out);

// Arrow heads at the ends of the axes of an image `width` wide: two polylines of three points.
std::vector<PixelPoint> horizontalArrowHead(int width, int halfH);
std::vector<PixelPoint> verticalArrowHead(int halfW);

// Integer halving that truncates toward zero.
inline int halfOf(int size) { return size / 2; }

} // namespace pendulab
