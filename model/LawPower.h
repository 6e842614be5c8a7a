#pragma once
// What the laws' sources share: the points a law is fitted through, GSL kept from aborting while
// it works, the σ rules common to every law, and the power and resonance laws' own fits. Internal
// to model/ (the laws, and the steady state's fit for QuietGsl).
#include <cstddef>
#include <string>
#include <vector>

#include <gsl/gsl_errno.h>

#include "model/Laws.h"

namespace pendulab::law {

// The points kept for a fit (x and y finite), with their weights 1/σ² when every one of them has
// a positive finite σ; w is empty for ordinary least squares.
struct Points {
    std::vector<double> x, y, w;
    bool weighted() const { return !w.empty(); }
    std::size_t size() const { return x.size(); }
};

// While alive, GSL reports through return codes instead of aborting; the handler in place before
// comes back on destruction.
class QuietGsl {
public:
    QuietGsl() : previous_(gsl_set_error_handler_off()) {}
    ~QuietGsl() { gsl_set_error_handler(previous_); }
    QuietGsl(const QuietGsl&) = delete;
    QuietGsl& operator=(const QuietGsl&) = delete;

private:
    gsl_error_handler_t* previous_;
};

// A fit of `kind` that did not happen, with the student's explanation.
LawFit refused(LawKind kind, std::string message);

// Records in f how the fit was weighted and its χ²/ν (weighted: sumSquares is χ²) or residual
// variance s² (ordinary: sumSquares is the residual sum of squares), 0 when nu is 0; sets
// f.scaled. Returns the factor a covariance (JᵀWJ)⁻¹, or (JᵀJ)⁻¹, is multiplied by: χ²/ν when
// scaled, 1 otherwise when weighted, s² for ordinary least squares.
double covarianceFactor(LawFit& f, const Points& p, double sumSquares, std::size_t nu);

// √(variance·factor), or 0 when there is no degree of freedom left (nu = 0).
double sigmaOf(double variance, double factor, std::size_t nu);

// The fit as given when every number in it is finite, otherwise refused with `failure`.
LawFit checkedFinite(LawFit f, const char* failure);

// y = a·x^n: refused below two points, for a point with x ≤ 0 or y ≤ 0 and when all x are equal.
LawFit fitPower(const Points& p);

// The resonance's amplitude y = A₀·ω0²/√((ω0² − x²)² + (ω0·x/Q)²) (refused below three points,
// below three different x, for a point with x ≤ 0 or y ≤ 0), or with `phase` its phase
// y = −atan2(ω0·x/Q, ω0² − x²) (refused below two points, for an x ≤ 0, when all x are equal).
// ω0 and Q come out positive (model/LawResonance.cpp).
LawFit fitResonance(const Points& p, bool phase);

} // namespace pendulab::law
