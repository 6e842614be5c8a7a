#pragma once
// What the model's portrait draws, computed from the model buffers: phase scales and pixels. (The
// energies are the session's, apart from any drawing.)
#include <span>
#include <vector>

#include "analysis/Derivative.h"

namespace pendulab {

struct ModelPlotData {
    float phaseScaleX = 0.0f; // pixels per volt
    float phaseScaleY = 0.0f; // pixels per V/s, without the 1.3 drawing factor
    std::vector<PixelPoint> portrait; // samples 1 … n − 2 (1999 for 2001 samples)
};

// halfW/halfH: the centre of the portrait page.
void computeModelPlots(std::span<const double> modelPos, std::span<const double> modelSpeed,
                       int halfW, int halfH, ModelPlotData& out);

} // namespace pendulab
