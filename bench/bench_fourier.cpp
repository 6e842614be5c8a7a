// Speed of the amplitude spectrum and its peak: a recording of 2001 samples, and a run of 100 000
// (padded to 16 200 and 800 000 points). The transform keeps its tables across iterations, as a
// page redrawing the same run would.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "analysis/Fourier.h"

namespace {

void spectrumOf(benchmark::State& state, std::size_t n, double dt)
{
    std::vector<double> x(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) * dt;
        x[i] = 1.0 + 2.0 * std::exp(-0.19 * t) * std::sin(2 * std::numbers::pi * 1.2137 * t);
    }
    pendulab::SpectrumTransform transform;
    pendulab::Spectrum s;
    for (auto _ : state) {
        transform.spectrum(x, dt, s);
        benchmark::DoNotOptimize(pendulab::mainPeak(s));
    }
    if (s.amplitude.empty()) state.SkipWithError("empty spectrum");
}

void BM_Spectrum2001(benchmark::State& s) { spectrumOf(s, 2001, 0.005); }
void BM_Spectrum100k(benchmark::State& s) { spectrumOf(s, 100000, 0.001); }

} // namespace

BENCHMARK(BM_Spectrum2001)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Spectrum100k)->Unit(benchmark::kMillisecond);
