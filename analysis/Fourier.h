#pragma once
// The amplitude spectrum of a run (GSL's mixed-radix real FFT) and its main peak.
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace pendulab {

// One-sided amplitude spectrum: bin k at k·binHz, k = 0 … paddedLength/2. Empty (binHz 0,
// paddedLength 0) when there was nothing to transform.
struct Spectrum {
    double binHz = 0.0;
    std::vector<double> amplitude;
    std::size_t paddedLength = 0;
};

// The longest transform: 2^20 points.
inline constexpr std::size_t MaxSpectrumLength = std::size_t{1} << 20;

// The transform's length for n samples: the smallest even N ≥ 8·n whose only prime factors are 2,
// 3 and 5 (lengths GSL's mixed radix transforms with its fast radix-2, 3, 4, 5 kernels), at most
// MaxSpectrumLength; 0 for n = 0.
std::size_t paddedSpectrumLength(std::size_t n);

// Keeps GSL's wavetable and workspace (and the window) for the last length used, so that spectra
// of the same length allocate nothing but their result. Not to be shared between threads.
class SpectrumTransform {
public:
    SpectrumTransform();
    ~SpectrumTransform();
    SpectrumTransform(const SpectrumTransform&) = delete;
    SpectrumTransform& operator=(const SpectrumTransform&) = delete;

    // The samples' mean removed, a symmetric Hann window w_i = ½ − ½·cos(2πi/(n−1)) applied, zero
    // padded to paddedSpectrumLength(n). |X_k| is divided by Σw and doubled except at DC and
    // Nyquist, so a sine of amplitude A far from DC reads A at its peak. Beyond 2^20 samples only
    // the first 2^20 are transformed (a run holds at most 1 000 000). Fewer than 4 samples, a
    // period that is not positive and finite, or a value that is not finite: an empty spectrum.
    Spectrum spectrum(std::span<const double> samples, double samplePeriod);
    // The same into `out`, reusing its storage.
    void spectrum(std::span<const double> samples, double samplePeriod, Spectrum& out);

private:
    struct Tables; // GSL's wavetable and workspace, for one length
    void prepare(std::size_t n, std::size_t padded);

    std::unique_ptr<Tables> tables_;
    std::vector<double> buffer_;
    std::vector<double> window_;
    double windowSum_ = 0.0;
};

struct SpectrumPeak {
    double frequencyHz;
    double amplitude;
};

// The highest bin above DC (k ≥ 1), refined by the parabola through it and its two neighbours
// (a, b, c): offset δ = ½(a − c)/(a − 2b + c) bins, amplitude b − ¼(a − c)·δ. The Nyquist bin's
// missing right neighbour is its mirror image, its left one. None for fewer than three bins, or
// when every bin above DC is the same (all zero among them).
std::optional<SpectrumPeak> mainPeak(const Spectrum& spectrum);

// Values at uneven instants onto an even grid over the same span with the same count (the mean
// step), by linear interpolation; samplePeriod is set to that step. The instants must not
// decrease and must span a positive, finite time; otherwise (or with fewer than two samples, or
// sizes that differ) the result is empty and samplePeriod 0.
std::vector<double> resampledEvenly(std::span<const double> instants, std::span<const double> values,
                                    double& samplePeriod);
// The same onto `count` even instants over the span (count ≥ 2).
std::vector<double> resampledEvenly(std::span<const double> instants, std::span<const double> values, std::size_t count,
                                    double& samplePeriod);

} // namespace pendulab
