// Speed of the measurement files. Targets: open a 2001-row CSV in at most 10 ms, a 100 000-row
// phone recording in at most 200 ms, write an .xlsx in at most 30 ms.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "export/CsvFormat.h"
#include "export/TextImport.h"
#include "export/XlsxFormat.h"

using namespace pendulab;
namespace fs = std::filesystem;

namespace {

MeasurementTable table()
{
    MeasurementTable t;
    for (std::vector<double>* v : {&t.measurement.volts, &t.measPos, &t.measSpeed, &t.modelPos, &t.modelSpeed}) {
        v->resize(2001);
        for (std::size_t i = 0; i < 2001; ++i) (*v)[i] = std::sin(0.0137 * static_cast<double>(i)) / 3.0;
    }
    t.measurement.source = "Carte SYSAM PCI (simulation)";
    t.modelShown = true;
    return t;
}

fs::path scratch(const char* name)
{
    const fs::path dir = fs::temp_directory_path() / ("pendulab-formats-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir / name;
}

void OpenPendulabCsv(benchmark::State& state)
{
    const fs::path path = scratch("m.csv");
    writeCsv(path.string(), table(), CsvDialect::FrenchComma);
    for (auto _ : state) benchmark::DoNotOptimize(readCsv(path.string()));
}
BENCHMARK(OpenPendulabCsv)->Unit(benchmark::kMillisecond);

void OpenPhoneRecording(benchmark::State& state)
{
    const fs::path path = scratch("phone.csv");
    {
        std::ofstream out(path);
        out << "\"Time (s)\",\"Acceleration x (m/s^2)\",\"Acceleration y (m/s^2)\",\"Acceleration z (m/s^2)\"\n";
        char line[160];
        for (int i = 0; i < 100000; ++i) {
            const double t = 0.0125 + i * 0.002;
            std::snprintf(line, sizeof line, "%.9E,%.9E,%.9E,%.9E\n", t, 0.01 * i, std::cos(t), 9.81 + t);
            out << line;
        }
    }
    for (auto _ : state) {
        const TextTable t = readTextTable(path.string());
        benchmark::DoNotOptimize(importColumn(t, 2));
    }
}
BENCHMARK(OpenPhoneRecording)->Unit(benchmark::kMillisecond);

void ExportXlsx(benchmark::State& state)
{
    const fs::path path = scratch("m.xlsx");
    const MeasurementTable t = table();
    for (auto _ : state) writeXlsx(path.string(), t);
}
BENCHMARK(ExportXlsx)->Unit(benchmark::kMillisecond);

void ExportCsv(benchmark::State& state)
{
    const fs::path path = scratch("w.csv");
    const MeasurementTable t = table();
    for (auto _ : state) writeCsv(path.string(), t, CsvDialect::Point);
}
BENCHMARK(ExportCsv)->Unit(benchmark::kMillisecond);

} // namespace
