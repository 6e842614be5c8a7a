#pragma once
// The steady state of a driven run: a run recorded with the bench's exciter on, or whose model
// has "Excit." ticked. y = A·cos(Ωe·t + φ) + c is fitted to its samples as recorded, from 5/γ
// (γ = h/m of the bench, else of its model) to the end, or over the span dragged with the time
// cursor; Ωe starts from the exciter's known pulsation.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Calibration.h"
#include "session/Run.h"

namespace pendulab {

// The exciter's pulsation of a driven run: the bench's when it was recorded with the exciter on,
// else the model's when "Excit." is ticked; none for a run that is not driven.
std::optional<double> drivingPulsation(const Run& run);
// Where its steady state is fitted; none for a run that is not driven (or without samples).
// Without friction the span starts past the end: there is no steady state to reach.
std::optional<SteadySpan> steadySpanOf(const Run& run);
// Fits run.steady anew when its span changed (none for a run not driven); cheap otherwise.
void refreshSteady(Run& run);

// The steady state's read-out for the student, A in `scale`'s unit: "Régime permanent :
// Ωe = … ± … rad/s, A = … ± … cm, φ = … ± … rad", or why there is none; empty when not driven.
std::string steadyReport(const Run& run, const DisplayScale& scale, std::string_view decimalSeparator);

} // namespace pendulab
