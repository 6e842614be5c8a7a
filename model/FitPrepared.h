#pragma once
// A fit request made ready for the solver and for its start values alike: refused with the
// student's message, or its samples, what their shape tells and the exciter amplitude to start
// from. Internal to model/Fit*.cpp.
#include <optional>

#include "model/Fit.h"
#include "model/FitCore.h"
#include "model/FitStart.h"

namespace pendulab::fit {

struct Prepared {
    std::optional<FitResult> refusal; // set when the request cannot be fitted
    Samples s;
    Shape sh;
    double fallbackF = 0.0; // F to start from when the recording cannot tell it
};

// The checks of the request and of its samples; a recording where nothing stands out of the
// noise is refused too.
Prepared prepared(const FitRequest& request);

} // namespace pendulab::fit
