#include "virtualcard/Pendulum.h"

#include <cmath>
#include <cstdlib>

namespace virtualcard {

namespace {

bool readDouble(const char* name, double& out, std::vector<std::string>& warnings)
{
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') return false;
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(v)) {
        warnings.push_back(std::string("virtualcard: ignoring ") + name + "='" + text + "' (not a number)");
        return false;
    }
    out = v;
    return true;
}

} // namespace

PendulumSettings settingsFromEnvironment(std::vector<std::string>& warnings)
{
    PendulumSettings s;
    double v = 0.0;
    if (readDouble("VIRTUALCARD_MASS", v, warnings)) {
        if (v > 0.0) s.mass = v;
        else warnings.push_back("virtualcard: ignoring VIRTUALCARD_MASS (must be above 0)");
    }
    if (readDouble("VIRTUALCARD_STIFFNESS", v, warnings)) {
        if (v >= 0.0) s.stiffness = v;
        else warnings.push_back("virtualcard: ignoring VIRTUALCARD_STIFFNESS (must not be negative)");
    }
    if (readDouble("VIRTUALCARD_FRICTION", v, warnings)) {
        if (v >= 0.0) s.friction = v;
        else warnings.push_back("virtualcard: ignoring VIRTUALCARD_FRICTION (must not be negative)");
    }
    if (readDouble("VIRTUALCARD_AMPLITUDE", v, warnings)) s.amplitude = v;
    if (readDouble("VIRTUALCARD_EQUILIBRIUM", v, warnings)) s.equilibrium = v;
    if (const char* on = std::getenv("VIRTUALCARD_EXCITER"); on != nullptr && *on != '\0') {
        const std::string e(on);
        if (e == "1" || e == "0") s.exciter = e == "1";
        else warnings.push_back("virtualcard: ignoring VIRTUALCARD_EXCITER='" + e + "' (1 or 0)");
    }
    if (readDouble("VIRTUALCARD_EXCITER_PULSATION", v, warnings)) {
        if (v > 0.0) s.exciterPulsation = v;
        else warnings.push_back("virtualcard: ignoring VIRTUALCARD_EXCITER_PULSATION (must be above 0)");
    }
    if (readDouble("VIRTUALCARD_EXCITER_AMPLITUDE", v, warnings)) s.exciterAmplitude = v;
    if (readDouble("VIRTUALCARD_NOISE", v, warnings)) {
        if (v >= 0.0) s.noise = v;
        else warnings.push_back("virtualcard: ignoring VIRTUALCARD_NOISE (must not be negative)");
    }
    if (readDouble("VIRTUALCARD_SEED", v, warnings)) {
        if (v >= 0.0 && v <= 4294967295.0) s.seed = static_cast<std::uint32_t>(v);
        else warnings.push_back("virtualcard: ignoring VIRTUALCARD_SEED (0 … 4294967295)");
    }
    if (const char* pace = std::getenv("VIRTUALCARD_PACE"); pace != nullptr && *pace != '\0') {
        const std::string p(pace);
        if (p == "none") s.paced = false;
        else if (p == "real") s.paced = true;
        else warnings.push_back("virtualcard: ignoring VIRTUALCARD_PACE='" + p + "' (none or real)");
    }
    return s;
}

bool physical(const PendulumSettings& s)
{
    const double values[] = {s.mass, s.stiffness, s.friction, s.amplitude, s.equilibrium, s.exciterPulsation, s.exciterAmplitude};
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return s.mass > 0.0 && s.stiffness >= 0.0 && s.friction >= 0.0 && s.exciterPulsation > 0.0;
}

std::int32_t voltsToCode(double volts)
{
    const double code = std::nearbyint(volts * 204.8 + 2048.0);
    if (!(code > 0.0)) return 0;
    if (code > 4095.0) return 4095;
    return static_cast<std::int32_t>(code);
}

Pendulum::Pendulum(const PendulumSettings& s) : s_(s), rng_(s.seed) {}

void Pendulum::release()
{
    t_ = 0.0;
    x_ = s_.amplitude;
    v_ = 0.0;
    released_ = true;
}

void Pendulum::advanceTo(double seconds)
{
    if (seconds < t_) release(); // going back in time: start over from the release
    const double m = s_.mass, k = s_.stiffness, h = s_.friction;
    const double e = s_.exciter ? s_.exciterAmplitude : 0.0, w = s_.exciterPulsation;
    auto top = [&](double t) { return e == 0.0 ? 0.0 : e * std::cos(w * t); };
    auto accel = [&](double x, double v, double y) { return -(k * (x - y) + h * v) / m; }; // y: the top
    constexpr double maxStep = 2e-4;
    while (t_ < seconds) {
        const double dt = std::min(maxStep, seconds - t_);
        const double top0 = top(t_), topHalf = top(t_ + 0.5 * dt), top1 = top(t_ + dt);
        const double k1x = v_, k1v = accel(x_, v_, top0);
        const double k2x = v_ + 0.5 * dt * k1v, k2v = accel(x_ + 0.5 * dt * k1x, v_ + 0.5 * dt * k1v, topHalf);
        const double k3x = v_ + 0.5 * dt * k2v, k3v = accel(x_ + 0.5 * dt * k2x, v_ + 0.5 * dt * k2v, topHalf);
        const double k4x = v_ + dt * k3v, k4v = accel(x_ + dt * k3x, v_ + dt * k3v, top1);
        x_ += dt / 6.0 * (k1x + 2 * k2x + 2 * k3x + k4x);
        v_ += dt / 6.0 * (k1v + 2 * k2v + 2 * k3v + k4v);
        t_ += dt;
        if (!std::isfinite(x_) || !std::isfinite(v_)) { x_ = 0.0; v_ = 0.0; }
    }
}

double Pendulum::positionAt(double seconds)
{
    if (!released_) return s_.equilibrium;
    advanceTo(seconds);
    return s_.equilibrium + x_;
}

std::int32_t Pendulum::codeAt(double seconds)
{
    return voltsToCode(positionAt(seconds) + s_.noise * gauss_(rng_));
}

} // namespace virtualcard
