#pragma once
// A law through the points of one result against another, across runs: y = a·x, y = a·x + b,
// y = a·x^n, or a driven oscillator's resonance (its steady amplitude or phase against the
// exciter's pulsation), weighted by the points' σ on y where every point has one (GSL's weighted fits), by
// ordinary least squares otherwise; and the transforms a student plots a result through (x², 1/x,
// √x) with their σ propagated.
#include <cstddef>
#include <span>
#include <string>

namespace pendulab {

// Resonance: y = A₀·ω0² / √((ω0² − x²)² + (ω0·x/Q)²), an amplitude against the pulsation x;
// ResonancePhase: y = −atan2(ω0·x/Q, ω0² − x²), the phase (rad, −π … 0) against x.
enum class LawKind { None, Proportional, Affine, Power, Resonance, ResonancePhase };

struct LawCoefficient {
    double value = 0.0;
    double sigma = 0.0; // 1σ
};

struct LawFit {
    bool ok = false;
    std::string message;  // French, for the student, when !ok ("La loi puissance demande …")
    LawKind kind = LawKind::None;
    LawCoefficient a;     // the slope, or the factor of the power law
    LawCoefficient b;     // the intercept (Affine only)
    LawCoefficient n;     // the exponent (Power only)
    LawCoefficient omega0;  // ω0, in x's unit (Resonance, ResonancePhase)
    LawCoefficient quality; // Q (Resonance, ResonancePhase); a is A₀ for Resonance
    bool weighted = false; // fitted with weights 1/σy² (otherwise ordinary least squares)
    bool scaled = false;   // weighted, χ²/ν > 1: the σ of the coefficients scaled by √(χ²/ν)
    double chi2PerDof = 0.0; // χ²/ν (weighted) or the residual variance s² (ordinary), 0 when ν = 0
    std::size_t points = 0;
    double at(double x) const; // the law's value at x
};

// x and y of equal length; sigmaY empty, or as long, with the points' 1σ on y (a point whose σ is
// not a positive finite number makes the fit ordinary least squares). Points where x or y is not
// finite are left out. Refused, with a French message, below the points a law needs (1
// proportional, 2 affine, power and resonance phase, 3 resonance; one more to have a σ: with
// exactly that many the σ are 0), for the power law where an x or y is not positive, and for the
// resonance laws where an x is not positive (or, for Resonance, a y). Never throws; the numbers of an ok fit are
// finite.
LawFit fitLaw(LawKind kind, std::span<const double> x, std::span<const double> y,
              std::span<const double> sigmaY = {});

// A result through a transform, its σ propagated to first order: x² (σ·2|x|), 1/x (σ/x²), √x
// (σ/(2√x)). Outside the transform's domain (1/0, √ of a negative) the value is NaN.
enum class Transform { Identity, Square, Inverse, SquareRoot };
struct Valued {
    double value = 0.0;
    double sigma = 0.0;
};
Valued transformed(Transform t, Valued v);

} // namespace pendulab
