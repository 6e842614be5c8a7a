#include "analysis/Fourier.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <gsl/gsl_fft_real.h>

namespace pendulab {

struct SpectrumTransform::Tables {
    explicit Tables(std::size_t n)
        : length(n), wavetable(gsl_fft_real_wavetable_alloc(n)), workspace(gsl_fft_real_workspace_alloc(n))
    {
    }
    ~Tables()
    {
        if (workspace) gsl_fft_real_workspace_free(workspace);
        if (wavetable) gsl_fft_real_wavetable_free(wavetable);
    }
    Tables(const Tables&) = delete;
    Tables& operator=(const Tables&) = delete;

    std::size_t length;
    gsl_fft_real_wavetable* wavetable;
    gsl_fft_real_workspace* workspace;
};

namespace {

constexpr std::size_t MinSamples = 4;
constexpr std::size_t PaddingFactor = 8;

// The smallest even 2^a·3^b·5^c (a ≥ 1) not below `least`: every 3^b·5^c times the power of two
// that lifts it to `least`, the least of them kept.
std::size_t smallestSmoothEven(std::size_t least)
{
    std::size_t best = 2;
    while (best < least) best *= 2;
    for (std::size_t p3 = 1; p3 < best; p3 *= 3) {
        for (std::size_t p35 = p3; p35 < best; p35 *= 5) {
            std::size_t n = 2 * p35;
            while (n < least) n *= 2;
            best = std::min(best, n);
        }
    }
    return best;
}

void clear(Spectrum& out)
{
    out.binHz = 0.0;
    out.amplitude.clear();
    out.paddedLength = 0;
}

// The mean of the samples, NaN when one is not finite.
double meanOf(std::span<const double> x)
{
    double sum = 0.0;
    for (double v : x) {
        if (!std::isfinite(v)) return std::nan("");
        sum += v;
    }
    return sum / static_cast<double>(x.size());
}

} // namespace

std::size_t paddedSpectrumLength(std::size_t n)
{
    if (n == 0) return 0;
    if (n >= MaxSpectrumLength / PaddingFactor) return MaxSpectrumLength;
    return std::min(smallestSmoothEven(PaddingFactor * n), MaxSpectrumLength);
}

SpectrumTransform::SpectrumTransform() = default;
SpectrumTransform::~SpectrumTransform() = default;

void SpectrumTransform::prepare(std::size_t n, std::size_t padded)
{
    if (!tables_ || tables_->length != padded) {
        tables_.reset(); // the old tables go before the new ones are taken
        tables_ = std::make_unique<Tables>(padded);
    }
    buffer_.resize(padded);
    if (window_.size() == n) return;
    window_.resize(n);
    windowSum_ = 0.0;
    const double step = 2.0 * std::numbers::pi / static_cast<double>(n - 1);
    for (std::size_t i = 0; i < n; ++i) {
        window_[i] = 0.5 - 0.5 * std::cos(step * static_cast<double>(i));
        windowSum_ += window_[i];
    }
}

Spectrum SpectrumTransform::spectrum(std::span<const double> samples, double samplePeriod)
{
    Spectrum out;
    spectrum(samples, samplePeriod, out);
    return out;
}

void SpectrumTransform::spectrum(std::span<const double> samples, double samplePeriod, Spectrum& out)
{
    const std::span<const double> x = samples.first(std::min(samples.size(), MaxSpectrumLength));
    const std::size_t n = x.size();
    const std::size_t padded = paddedSpectrumLength(n);
    const double mean = n >= MinSamples ? meanOf(x) : 0.0;
    const double binHz = 1.0 / (static_cast<double>(padded) * samplePeriod);
    if (n < MinSamples || !std::isfinite(mean) || !(samplePeriod > 0.0) || !std::isfinite(samplePeriod) ||
        !std::isfinite(binHz)) {
        clear(out);
        return;
    }
    prepare(n, padded);
    for (std::size_t i = 0; i < n; ++i) buffer_[i] = (x[i] - mean) * window_[i];
    std::fill(buffer_.begin() + static_cast<std::ptrdiff_t>(n), buffer_.end(), 0.0);
    gsl_fft_real_transform(buffer_.data(), 1, padded, tables_->wavetable, tables_->workspace);

    // GSL's half-complex order for the mixed radix: Re X_0, then Re X_k, Im X_k at 2k − 1, 2k, and
    // (N even) Re X_{N/2} last.
    const std::size_t half = padded / 2;
    const double scale = 2.0 / windowSum_;
    out.amplitude.resize(half + 1);
    out.amplitude[0] = std::fabs(buffer_[0]) / windowSum_;
    for (std::size_t k = 1; k < half; ++k) out.amplitude[k] = scale * std::hypot(buffer_[2 * k - 1], buffer_[2 * k]);
    out.amplitude[half] = std::fabs(buffer_[padded - 1]) / windowSum_;
    out.binHz = binHz;
    out.paddedLength = padded;
    if (!std::all_of(out.amplitude.begin(), out.amplitude.end(), [](double a) { return std::isfinite(a); }))
        clear(out);
}

std::optional<SpectrumPeak> mainPeak(const Spectrum& s)
{
    const std::vector<double>& a = s.amplitude;
    if (a.size() < 3 || !(s.binHz > 0.0)) return std::nullopt;
    const auto high = std::max_element(a.begin() + 1, a.end());
    if (!(*high > *std::min_element(a.begin() + 1, a.end()))) return std::nullopt;
    const std::size_t k = static_cast<std::size_t>(high - a.begin());
    const double left = a[k - 1], centre = a[k];
    const double right = k + 1 < a.size() ? a[k + 1] : left; // past Nyquist, the mirror image
    const double curvature = left - 2.0 * centre + right;
    const double delta = curvature < 0.0 ? std::clamp(0.5 * (left - right) / curvature, -0.5, 0.5) : 0.0;
    const SpectrumPeak peak{(static_cast<double>(k) + delta) * s.binHz, centre - 0.25 * (left - right) * delta};
    if (!std::isfinite(peak.frequencyHz) || !std::isfinite(peak.amplitude)) return std::nullopt;
    return peak;
}

std::vector<double> resampledEvenly(std::span<const double> instants, std::span<const double> values,
                                    double& samplePeriod)
{
    return resampledEvenly(instants, values, values.size(), samplePeriod);
}

std::vector<double> resampledEvenly(std::span<const double> instants, std::span<const double> values, std::size_t count,
                                    double& samplePeriod)
{
    samplePeriod = 0.0;
    const std::size_t n = values.size();
    const auto finite = [](double v) { return std::isfinite(v); };
    if (n < 2 || instants.size() != n || !std::all_of(instants.begin(), instants.end(), finite) ||
        !std::all_of(values.begin(), values.end(), finite) || !std::is_sorted(instants.begin(), instants.end()))
        return {};
    const double t0 = instants.front(), span = instants.back() - t0;
    if (count < 2) return {};
    const double step = span / static_cast<double>(count - 1);
    if (!(span > 0.0) || !std::isfinite(span) || !(step > 0.0)) return {};

    std::vector<double> out(count);
    std::size_t j = 0; // instants[j] ≤ t < instants[j + 1]
    for (std::size_t i = 0; i + 1 < count; ++i) {
        const double t = t0 + step * static_cast<double>(i);
        while (j + 2 < n && instants[j + 1] <= t) ++j;
        const double t1 = instants[j], t2 = instants[j + 1];
        const double f = t2 > t1 ? std::clamp((t - t1) / (t2 - t1), 0.0, 1.0) : 1.0;
        out[i] = values[j] + f * (values[j + 1] - values[j]);
    }
    out[count - 1] = values[n - 1];
    samplePeriod = step;
    return out;
}

} // namespace pendulab
