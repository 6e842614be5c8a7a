#include "analysis/Derivative.h"

#include <algorithm>
#include <vector>

#include "core/FormatCore.h"
#include "core/VectorUnit.h"

namespace pendulab {

Range rangeOf(std::span<const double> values, std::size_t first, std::size_t last)
{
    Range r;
    for (std::size_t i = first; i <= last && i < values.size(); ++i) {
        const float v = static_cast<float>(values[i]);
        if (v < r.min) r.min = v;
        if (v > r.max) r.max = v;
    }
    return r;
}

void computeMeasuredSpeed(std::span<const double> pos, std::span<double> speed, double dt)
{
    cleanVectorUnit();
    const std::size_t n = pos.size();
    if (n < MinimumDerivedSamples || speed.size() < n || !(dt > 0.0)) return;
    const std::size_t diffs = n - 1;
    static thread_local std::vector<float> d;
    d.resize(diffs);
    for (std::size_t j = 0; j < diffs; ++j) d[j] = static_cast<float>(pos[j + 1] - pos[j]);

    speed[0] = 0.0;
    for (std::size_t k = 1; k <= 3; ++k) speed[k] = static_cast<double>(d[k - 1]) / dt;
    double nine = 0.0;
    for (std::size_t j = 0; j <= 8; ++j) nine += static_cast<double>(d[j]);
    speed[4] = nine / 9.0 / dt;
    for (std::size_t k = 5; k + 6 <= n; ++k) {
        double sum = 0.0;
        for (std::size_t j = k - 5; j <= k + 4; ++j) sum += static_cast<double>(d[j]);
        speed[k] = sum / 10.0 / dt;
    }
}

void computeMeasuredSpeedAt(std::span<const double> pos, std::span<const double> instants, std::span<double> speed)
{
    cleanVectorUnit();
    const std::size_t n = pos.size();
    if (n < MinimumDerivedSamples || instants.size() < n || speed.size() < n) return;
    // Each value is the rise over the run of the same differences the constant period averages.
    const auto over = [&](std::size_t from, std::size_t to) { // differences from … to, inclusive
        const double run = instants[to + 1] - instants[from];
        return run > 0.0 ? (pos[to + 1] - pos[from]) / run : 0.0;
    };
    speed[0] = 0.0;
    for (std::size_t k = 1; k <= 3; ++k) speed[k] = over(k - 1, k - 1);
    speed[4] = over(0, 8);
    for (std::size_t k = 5; k + 6 <= n; ++k) speed[k] = over(k - 5, k + 4);
}

void computeMeasuredPortrait(std::span<const double> pos, std::span<const double> speed, int halfW,
                             int halfH, PortraitData& out)
{
    cleanVectorUnit();
    // Clear of the ends, where the smoothing and the derivative are incomplete: 2 … n − 5 and
    // 5 … n − 11 (1996 and 1990 for 2001 samples).
    const std::size_t n = std::min(pos.size(), speed.size());
    out.points.clear();
    if (n < MinimumDerivedSamples) {
        out.phaseScaleX = out.phaseScaleY = 0.0f;
        return;
    }
    const Range posRange = rangeOf(pos, 2, n - 5);
    const Range speedRange = rangeOf(speed, 5, n - 11);
    if (speedRange.span() < 1e-6f || posRange.span() < 1e-6f) {
        out.phaseScaleY = 0.0f;
        out.phaseScaleX = 0.0f;
    } else {
        out.phaseScaleY = static_cast<float>(halfH * 1.3 / static_cast<double>(speedRange.span()));
        out.phaseScaleX = static_cast<float>(halfW / static_cast<double>(posRange.span()));
    }
    portraitPointsAt(pos, speed, halfW, halfH, out, out.points);
}

void portraitPointsAt(std::span<const double> pos, std::span<const double> speed, int halfW, int halfH,
                      const PortraitData& on, std::vector<PixelPoint>& points)
{
    const std::size_t n = std::min(pos.size(), speed.size());
    points.clear();
    for (std::size_t i = 6; i + 11 <= n; ++i) {
        points.push_back({halfW + roundEvenClamped(static_cast<double>(on.phaseScaleX) * pos[i]),
                          halfH - roundEvenClamped(static_cast<double>(on.phaseScaleY) * speed[i])});
    }
}

std::vector<PixelPoint> horizontalArrowHead(int width, int halfH)
{
    return {{width - 9, halfH - 1}, {width - 2, halfH + 3}, {width - 10, halfH + 7}};
}

std::vector<PixelPoint> verticalArrowHead(int halfW)
{
    return {{halfW - 1, 9}, {halfW + 3, 2}, {halfW + 7, 10}};
}

} // namespace pendulab
