// How soon a stop ends a run: the virtual card in real time, a minute between samples.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <future>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "acquisition/CardSource.h"
#include "acquisition/Recorder.h"

// From the stop request to the run's outcome, while the card waits for a sample due in a minute.
static void BM_StopLatency(benchmark::State& state)
{
    ::setenv("VIRTUALCARD_PACE", "real", 1);
    pendulab::CardSource card({}, [](const std::string&) {}); // the card beside the program
    if (!card.startUp()) {
        state.SkipWithError("no virtual card beside the program");
        return;
    }
    pendulab::RecordingPlan plan;
    plan.count = 3;
    plan.periodMicroseconds = 60'000'000;
    pendulab::Recorder recorder;
    double worst = 0.0;
    for (auto _ : state) {
        std::promise<void> firstSample;
        std::promise<void> done;
        bool first = true;
        recorder.start(
            card, plan,
            [&](std::size_t, std::vector<double>) {
                if (std::exchange(first, false)) firstSample.set_value();
            },
            {}, [&](pendulab::RecordingOutcome) { done.set_value(); });
        firstSample.get_future().wait(); // sample 0 comes at once, sample 1 in a minute
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const auto asked = std::chrono::steady_clock::now();
        recorder.stop();
        done.get_future().wait();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count();
        recorder.join();
        state.SetIterationTime(seconds);
        worst = std::max(worst, seconds * 1e3);
    }
    state.counters["stop_latency_worst_ms"] = worst;
    ::setenv("VIRTUALCARD_PACE", "none", 1);
}
BENCHMARK(BM_StopLatency)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
