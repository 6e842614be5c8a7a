#pragma once
// Shared by the format tests: a measurement with awkward doubles, a scratch folder, files.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>

#include "export/MeasurementTable.h"

namespace pendulab::testing {

namespace fs = std::filesystem;

// Doubles that need all 17 digits, tiny and huge magnitudes, negative zero, and noise.
inline MeasurementTable sampleTable(unsigned seed = 7)
{
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> noise(-1e-3, 1e-3);
    MeasurementTable t;
    Measurement& m = t.measurement;
    m.durationSeconds = 7;
    m.source = "Carte SYSAM PCI (simulation); essai \"2\", ligne\nsuivante \\ fin";
    m.recordedAt = "2026-12-09T14:03:00";
    m.calibration.slope = 0.1 + 0.2;
    m.calibration.offset = -0.0125;
    for (std::vector<double>* v : {&m.volts, &t.measPos, &t.measSpeed, &t.modelPos, &t.modelSpeed}) v->resize(2001);
    for (std::size_t i = 0; i < 2001; ++i) {
        const double x = static_cast<double>(i) * 0.0137;
        m.volts[i] = 3.3 * std::sin(x) + noise(rng);
        t.measPos[i] = 3.3 * std::sin(x) / 3.0;
        t.measSpeed[i] = 45.21 * std::cos(x) + noise(rng);
        t.modelPos[i] = std::exp(-x) * 1e-3;
        t.modelSpeed[i] = -std::exp(-x) / 7.0;
    }
    m.volts[0] = -0.0;
    m.volts[1] = std::numeric_limits<double>::denorm_min();
    m.volts[2] = 1e300;
    m.volts[3] = 0.1 + 0.2;
    t.model.mass = 0.123456789012345678;
    t.model.friction = 1.0 / 3.0;
    t.model.stiffness = 20;
    t.model.excited = true;
    t.model.exciterPulsation = 6.283185307179586;
    t.model.releaseTime = 0.35;
    t.modelShown = true;
    return t;
}

inline fs::path scratchDir(const std::string& name)
{
    const fs::path dir = fs::temp_directory_path() / ("pendulab-formats-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

inline void writeText(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string readText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace pendulab::testing
