#pragma once
// What the model plots draw, computed from the model buffers: phase scales, the portrait's pixels,
// and the two stacked energy bands.
#include <span>
#include <vector>

#include "analysis/Derivative.h"

namespace pendulab {

struct ModelPlotData {
    float phaseScaleX = 0.0f; // pixels per volt
    float phaseScaleY = 0.0f; // pixels per V/s, without the 1.3 drawing factor
    std::vector<PixelPoint> portrait; // samples 1 … 1999
    std::vector<double> kinetic;      // samples 1 … 1999, joules
    std::vector<double> potential;    // samples 1 … 1999, joules
};

// halfW/halfH: the centre of the portrait page. mass/stiffness: the model parameters;
// offset: the model's vertical offset (potential energy is measured from it).
void computeModelPlots(std::span<const double> modelPos, std::span<const double> modelSpeed,
                       int halfW, int halfH, double mass, double stiffness, double offset,
                       ModelPlotData& out);

} // namespace pendulab
