#pragma once
// What the fit's solver and its start values share: the samples fitted, the parameter order, the
// model curve of unit amplitude, and small numeric helpers. Internal to model/Fit*.cpp.
#include <array>
#include <cstddef>
#include <vector>

namespace pendulab::fit {

constexpr double Pi = 3.14159265358979323846;

// Natural parameters, in this order: k, h, a, offset, t0 and, when excited, F.
enum Param : std::size_t { K, H, A, C, T0, F };
using Params = std::array<double, 6>;

struct Samples {
    std::vector<double> t, y;
    double mass = 0.0;
    bool excited = false;
    double we = 0.0;
    std::size_t size() const { return t.size(); }
};

// The model with unit amplitude and no offset: the fitted curve is offset + a·unit(t).
void unitCurve(const Samples& s, double k, double h, double t0, bool excited, double F, double* y, double* v);

bool allFinite(const double* x, std::size_t n);

// Least squares on at most three columns through the normal equations (Gauss with pivoting).
// Returns false when the columns are degenerate.
bool linearLeastSquares(const std::vector<const double*>& cols, const std::vector<double>& y, double* coef,
                        double& ssr);

double median(std::vector<double> v);

} // namespace pendulab::fit
