// How fast the board's lines are read: a recording's stream, parsed in serial-port-sized pieces.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "acquisition/BoardProtocol.h"
#include "acquisition/TextLines.h"

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

// A sketch's "t,x" lines (target: 10 million lines a second), split and read in 4 kB pieces.
static void BM_TextLineParser(benchmark::State& state) {
    const std::size_t count = 100000;
    std::string stream;
    for (std::size_t i = 0; i < count; ++i) stream += std::to_string(20 * i) + "," + std::to_string(0.5 + (i % 997) * 0.003) + "\r\n";
    const pendulab::textline::Format format; // comma, ms in column 1, value in column 2
    for (auto _ : state) {
        pendulab::textline::LineSplitter splitter;
        std::size_t read = 0;
        double sum = 0.0;
        for (std::size_t at = 0; at < stream.size(); at += 4096) {
            splitter.feed(std::string_view(stream).substr(at, 4096), [&](std::string_view line) {
                if (const auto r = pendulab::textline::parseLine(line, format)) {
                    ++read;
                    sum += r->value;
                }
            });
        }
        if (read != count) state.SkipWithError("a line did not parse");
        benchmark::DoNotOptimize(sum);
    }
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_TextLineParser)->Unit(benchmark::kMillisecond);
