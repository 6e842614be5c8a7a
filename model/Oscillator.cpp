#include "model/Oscillator.h"

#include <cmath>
#include <limits>

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

OscillatorResult computeOscillator(const OscillatorInputs& in, std::span<double> position,
                                   std::span<double> speed)
{
    const double m = in.mass;
    const double h = in.friction;
    const double k = in.stiffness;
    const double a = in.amplitude;
    const double dt = in.durationSeconds / 2000.0;

    OscillatorResult result;
    const double w0sq = k / m;
    result.omega0 = std::sqrt(w0sq);
    result.q = h == 0.0 ? std::numeric_limits<double>::infinity() : std::sqrt(k * m) / h;

    const double beta = h / (2.0 * m);
    const double delta = w0sq - beta * beta;
    result.regime = delta < 0.0 ? Regime::Aperiodic : Regime::PseudoPeriodic;
    const double w = delta < 0.0 ? 0.0 : std::sqrt(delta);
    const double s = delta < 0.0 ? std::sqrt(-delta) : 0.0;

    // Particular solution of y'' + γ·y' + ω0²·y = a·F·cos(Ωe·t).
    const double gamma = h / m;
    const double we = in.exciterPulsation;
    const double aF = a * in.exciterAmplitude;
    const double d0 = w0sq - we * we;
    const double norm = d0 * d0 + gamma * gamma * we * we;

    const std::size_t n = position.size() < speed.size() ? position.size() : speed.size();
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) * dt;
        const Free f = result.regime == Regime::Aperiodic ? aperiodic(a, beta, w0sq, s, t)
                                                          : pseudoPeriodic(a, beta, w0sq, w, t);
        double y = f.y;
        double v = f.v;
        if (in.excited) {
            if (norm != 0.0) {
                const double c = std::cos(we * t);
                const double sn = std::sin(we * t);
                y += aF / norm * (d0 * c + gamma * we * sn);
                v += aF / norm * we * (-d0 * sn + gamma * we * c);
            } else if (we != 0.0) { // undamped drive exactly at resonance
                const double c = std::cos(we * t);
                const double sn = std::sin(we * t);
                y += aF / (2.0 * we) * t * sn;
                v += aF / (2.0 * we) * (sn + we * t * c);
            } else { // no spring, no friction: constant force
                y += aF * t * t / 2.0;
                v += aF * t;
            }
        }
        position[i] = in.offset + y;
        speed[i] = v;
    }
    return result;
}

double kineticEnergy(double mass, double v)
{
    const double metresPerSecond = SensorMetresPerVolt * v;
    return 0.5 * mass * metresPerSecond * metresPerSecond;
}

double potentialEnergy(double stiffness, double x, double offset)
{
    const double metres = SensorMetresPerVolt * (x - offset);
    return 0.5 * stiffness * metres * metres;
}

} // namespace pendulab
