#include "model/Oscillator.h"

#include <algorithm>

#include <cmath>
#include <limits>

#include "core/VectorUnit.h"

namespace pendulab {

namespace {

// sin(w·t)/w, equal to t when w is 0.
double sinOver(double w, double t) { return w == 0.0 ? t : std::sin(w * t) / w; }

struct Free {
    double y; // displacement from the offset
    double v; // its time derivative
};

// Under-damped (w > 0) or critical (w = 0) motion released at rest from a.
Free pseudoPeriodic(double a, double beta, double w0sq, double w, double t)
{
    const double e = std::exp(-beta * t);
    const double s = sinOver(w, t);
    return {a * e * (std::cos(w * t) + beta * s), -a * w0sq * s * e};
}

// Over-damped motion released at rest from a, with s = √(β² − ω0²) > 0.
// Written with decaying exponentials only, so that nothing overflows for long records.
Free aperiodic(double a, double beta, double w0sq, double s, double t)
{
    const double st = s * t;
    if (st < 1.0) {
        const double e = std::exp(-beta * t);
        const double sinhOver = std::sinh(st) / s;
        return {a * e * (std::cosh(st) + beta * sinhOver), -a * w0sq * sinhOver * e};
    }
    const double r2 = -(beta + s);       // fast root
    const double r1 = -w0sq / (beta + s); // slow root, = −β + s without cancellation
    const double e1 = std::exp(r1 * t);
    const double e2 = std::exp(r2 * t);
    const double c1 = 0.5 * (1.0 + beta / s);
    const double c2 = 0.5 * (1.0 - beta / s);
    return {a * (c1 * e1 + c2 * e2), -a * w0sq / (2.0 * s) * (e1 - e2)};
}

} // namespace

OscillatorModel::OscillatorModel(const OscillatorInputs& in) : in_(in)
{
    const double m = in.mass;
    const double h = in.friction;
    const double k = in.stiffness;
    w0sq_ = k / m;
    result_.omega0 = std::sqrt(w0sq_);
    result_.q = h == 0.0 ? std::numeric_limits<double>::infinity() : std::sqrt(k * m) / h;
    beta_ = h / (2.0 * m);
    const double delta = w0sq_ - beta_ * beta_;
    result_.regime = delta < 0.0 ? Regime::Aperiodic : Regime::PseudoPeriodic;
    w_ = delta < 0.0 ? 0.0 : std::sqrt(delta);
    s_ = delta < 0.0 ? std::sqrt(-delta) : 0.0;
    // Particular solution of y'' + γ·y' + ω0²·y = a·F·cos(Ωe·t).
    gamma_ = h / m;
    aF_ = in.amplitude * in.exciterAmplitude;
    d0_ = w0sq_ - in.exciterPulsation * in.exciterPulsation;
    norm_ = d0_ * d0_ + gamma_ * gamma_ * in.exciterPulsation * in.exciterPulsation;
}

OscillatorState OscillatorModel::at(double time) const
{
    const double t = time - in_.releaseTime;
    if (t < 0.0) return {at(in_.releaseTime).position, 0.0}; // held at the release point
    const double a = in_.amplitude;
    const Free f = result_.regime == Regime::Aperiodic ? aperiodic(a, beta_, w0sq_, s_, t)
                                                       : pseudoPeriodic(a, beta_, w0sq_, w_, t);
    double y = f.y;
    double v = f.v;
    if (in_.excited) {
        const double we = in_.exciterPulsation;
        if (norm_ != 0.0) {
            const double c = std::cos(we * t);
            const double sn = std::sin(we * t);
            y += aF_ / norm_ * (d0_ * c + gamma_ * we * sn);
            v += aF_ / norm_ * we * (-d0_ * sn + gamma_ * we * c);
        } else if (we != 0.0) { // undamped drive exactly at resonance
            const double c = std::cos(we * t);
            const double sn = std::sin(we * t);
            y += aF_ / (2.0 * we) * t * sn;
            v += aF_ / (2.0 * we) * (sn + we * t * c);
        } else if (gamma_ > 0.0) { // no spring, constant force against friction: drift at aF/γ
            // (the limit of the periodic solution as Ωe → 0, so the curve does not jump there)
            y += aF_ * (t / gamma_ - 1.0 / (gamma_ * gamma_));
            v += aF_ / gamma_;
        } else { // no spring, no friction: a constant force
            y += aF_ * t * t / 2.0;
            v += aF_ * t;
        }
    }
    return {in_.offset + y, v};
}

OscillatorResult computeOscillator(const OscillatorInputs& in, std::span<double> position,
                                   std::span<double> speed)
{
    cleanVectorUnit();
    const OscillatorModel model(in);
    const std::size_t n = position.size() < speed.size() ? position.size() : speed.size();
    // The samples span the duration: sample i at i·D/(n − 1).
    const double dt = n > 1 ? in.durationSeconds / static_cast<double>(n - 1) : 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const OscillatorState st = model.at(static_cast<double>(i) * dt);
        position[i] = st.position;
        speed[i] = st.speed;
    }
    return model.result();
}

OscillatorResult computeOscillatorAt(const OscillatorInputs& in, std::span<const double> instants,
                                     std::span<double> position, std::span<double> speed)
{
    cleanVectorUnit();
    const OscillatorModel model(in);
    const std::size_t n = std::min({instants.size(), position.size(), speed.size()});
    for (std::size_t i = 0; i < n; ++i) {
        const OscillatorState st = model.at(instants[i]);
        position[i] = st.position;
        speed[i] = st.speed;
    }
    return model.result();
}

double kineticEnergy(double mass, double v, double metresPerVolt)
{
    const double metresPerSecond = metresPerVolt * v;
    return 0.5 * mass * metresPerSecond * metresPerSecond;
}

double potentialEnergy(double stiffness, double x, double offset, double metresPerVolt)
{
    const double metres = metresPerVolt * (x - offset);
    return 0.5 * stiffness * metres * metres;
}

} // namespace pendulab
