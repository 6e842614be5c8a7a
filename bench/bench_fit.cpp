// Speed of the automatic fit on a full recording of 2001 samples from the virtual card.
#include <benchmark/benchmark.h>

#include <vector>

#include "model/Fit.h"
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

void BM_FitDefaultPendulum(benchmark::State& s) { fit(s, 0.12, false); }
void BM_FitHeavilyDamped(benchmark::State& s) { fit(s, 3.0, false); }
void BM_FitWithExciterTerm(benchmark::State& s) { fit(s, 0.12, true); }

} // namespace

BENCHMARK(BM_FitDefaultPendulum)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_FitHeavilyDamped)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_FitWithExciterTerm)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
