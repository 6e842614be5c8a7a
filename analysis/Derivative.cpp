#include "analysis/Derivative.h"

#include <array>

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
    constexpr std::size_t kDiffs = 2000;
    if (pos.size() < kDiffs + 1 || speed.size() < 1996 || !(dt > 0.0)) return;
    std::array<float, kDiffs> d{};
    for (std::size_t j = 0; j < kDiffs; ++j) d[j] = static_cast<float>(pos[j + 1] - pos[j]);

    speed[0] = 0.0;
    for (std::size_t n = 1; n <= 3; ++n) speed[n] = static_cast<double>(d[n - 1]) / dt;
    double nine = 0.0;
    for (std::size_t j = 0; j <= 8; ++j) nine += static_cast<double>(d[j]);
    speed[4] = nine / 9.0 / dt;
    for (std::size_t n = 5; n <= 1995; ++n) {
        double sum = 0.0;
        for (std::size_t j = n - 5; j <= n + 4; ++j) sum += static_cast<double>(d[j]);
        speed[n] = sum / 10.0 / dt;
    }
}

void computeMeasuredPortrait(std::span<const double> pos, std::span<const double> speed, int halfW,
                             int halfH, PortraitData& out)
{
    cleanVectorUnit();
    const Range posRange = rangeOf(pos, 2, 1996);
    const Range speedRange = rangeOf(speed, 5, 1990);
    if (speedRange.span() < 1e-6f || posRange.span() < 1e-6f) {
        out.phaseScaleY = 0.0f;
        out.phaseScaleX = 0.0f;
    } else {
        out.phaseScaleY = static_cast<float>(halfH * 1.3 / static_cast<double>(speedRange.span()));
        out.phaseScaleX = static_cast<float>(halfW / static_cast<double>(posRange.span()));
    }
    out.points.clear();
    for (std::size_t i = 6; i <= 1990 && i < pos.size() && i < speed.size(); ++i) {
        out.points.push_back(
            {halfW + roundEvenClamped(static_cast<double>(out.phaseScaleX) * pos[i]),
             halfH - roundEvenClamped(static_cast<double>(out.phaseScaleY) * speed[i])});
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
