// Speed of the automatic fit on a full recording of 2001 samples from the virtual card, of the
// steady state of a driven run (2001 samples, and a million), and of the resonance law.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "model/Fit.h"
#include "model/Laws.h"
#include "model/SteadyState.h"
#include "virtualcard/Pendulum.h"

namespace {

std::vector<double> recording(double friction)
{
    virtualcard::PendulumSettings set;
    set.friction = friction;
    set.paced = false;
    virtualcard::Pendulum p(set);
    p.release();
    std::vector<double> v(2001);
    for (std::size_t i = 0; i < v.size(); ++i) v[i] = (p.codeAt(static_cast<double>(i) * 0.005) - 2048) / 204.8;
    return v;
}

void fit(benchmark::State& state, double friction, bool excited)
{
    const std::vector<double> v = recording(friction);
    pendulab::FitRequest rq;
    rq.volts = v;
    rq.dt = 0.005;
    rq.last = v.size() - 1;
    rq.mass = 0.32;
    rq.excited = excited;
    for (auto _ : state) {
        pendulab::FitResult r = pendulab::fitOscillator(rq);
        benchmark::DoNotOptimize(r);
        if (!r.ok) state.SkipWithError(r.message.c_str());
    }
}

// The card's pendulum driven at 1.1·ω0 from rest, 2001 samples over 30 s, its steady state fitted
// from 10 s on (targets: ≤ 20 ms).
void BM_SteadyStateFit(benchmark::State& state)
{
    virtualcard::PendulumSettings set;
    set.amplitude = 0.0;
    set.exciter = true;
    set.exciterPulsation = 1.1 * std::sqrt(set.stiffness / set.mass);
    set.exciterAmplitude = 1.0;
    set.paced = false;
    virtualcard::Pendulum p(set);
    p.release();
    std::vector<double> t(2001), v(2001);
    for (std::size_t i = 0; i < v.size(); ++i) {
        t[i] = static_cast<double>(i) * 30.0 / 2000.0;
        v[i] = (p.codeAt(t[i]) - 2048) / 204.8;
    }
    for (auto _ : state) {
        const pendulab::SteadyState s = pendulab::fitSteadyState(t, v, set.exciterPulsation, 10.0, 30.0);
        benchmark::DoNotOptimize(s);
        if (!s.ok) state.SkipWithError("steady state refused");
    }
}

// A million samples of a noisy sinusoid: what a long recording costs.
void BM_SteadyStateFitMillion(benchmark::State& state)
{
    std::vector<double> t(1000000), v(t.size());
    std::uint32_t noise = 1;
    for (std::size_t i = 0; i < t.size(); ++i) {
        t[i] = static_cast<double>(i) * 1e-4;
        noise = noise * 1664525u + 1013904223u; // uniform, ±0.01
        v[i] = 2.0 * std::cos(8.0 * t[i] - 1.0) + 0.3 + 0.02 * (noise / 4294967296.0 - 0.5);
    }
    for (auto _ : state) {
        const pendulab::SteadyState s = pendulab::fitSteadyState(t, v, 8.0 * 1.001, 0.0, 100.0);
        benchmark::DoNotOptimize(s);
        if (!s.ok) state.SkipWithError("steady state refused");
    }
}

// The resonance law through 20 amplitudes with 1 % noise and their σ (target: ≤ 5 ms).
void BM_ResonanceLaw(benchmark::State& state)
{
    std::vector<double> x, y, sigma;
    std::uint32_t noise = 7;
    for (int i = 0; i < 20; ++i) {
        const double w = 7.6, q = 8.0, xi = w * (0.5 + 0.05 * i);
        noise = noise * 1664525u + 1013904223u;
        x.push_back(xi);
        y.push_back(w * w / std::hypot(w * w - xi * xi, w * xi / q) * (1.0 + 0.02 * (noise / 4294967296.0 - 0.5)));
        sigma.push_back(0.01 * y.back());
    }
    for (auto _ : state) {
        const pendulab::LawFit f = pendulab::fitLaw(pendulab::LawKind::Resonance, x, y, sigma);
        benchmark::DoNotOptimize(f);
        if (!f.ok) state.SkipWithError(f.message.c_str());
    }
}

void BM_FitDefaultPendulum(benchmark::State& s) { fit(s, 0.12, false); }
void BM_FitHeavilyDamped(benchmark::State& s) { fit(s, 3.0, false); }
void BM_FitWithExciterTerm(benchmark::State& s) { fit(s, 0.12, true); }

} // namespace

BENCHMARK(BM_FitDefaultPendulum)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_FitHeavilyDamped)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_FitWithExciterTerm)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_SteadyStateFit)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_SteadyStateFitMillion)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ResonanceLaw)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
