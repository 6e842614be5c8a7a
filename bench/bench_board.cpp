// How fast the board's lines are read: a recording's stream, parsed in serial-port-sized pieces.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "acquisition/BoardProtocol.h"

static void BM_BoardParser(benchmark::State& state) {
    const std::uint32_t count = 100000;
    std::string stream = "RUN " + std::to_string(count) + " 500\n";
    for (std::uint32_t i = 0; i < count; ++i) stream += std::to_string(i) + " " + std::to_string((i * 37) % 1024) + "\n";
    stream += "END\n";
    const pendulab::board::Identity uno{1, 10, 5000};
    pendulab::board::Parser parser;
    std::vector<pendulab::board::Event> events;
    events.reserve(600);
    for (auto _ : state) {
        parser.expectRun(uno, count, 500);
        for (std::size_t at = 0; at < stream.size(); at += 4096) {  // a read() of a few kilobytes
            events.clear();
            parser.feed(std::string_view(stream).substr(at, 4096), events);
        }
        if (!parser.runEnded() || parser.failed()) state.SkipWithError("the stream did not parse");
        benchmark::DoNotOptimize(events.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * (count + 2));
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(count + 2), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_BoardParser)->Unit(benchmark::kMillisecond);
