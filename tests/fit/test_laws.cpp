// The laws through results against NIST's certified linear regressions (Norris, NoInt1, NoInt2),
// against sums worked by hand, and the transforms' σ against finite differences.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include <gsl/gsl_errno.h>

#include "model/Laws.h"

using namespace pendulab;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// NIST StRD "Norris": y against x, 36 observations.
const std::vector<double> NorrisY = {0.1,   338.8, 118.1, 888.0, 9.2,   228.1, 668.5, 998.5, 449.1,
                                     778.9, 559.2, 0.3,   0.1,   778.1, 668.8, 339.3, 448.9, 10.8,
                                     557.7, 228.3, 998.0, 888.8, 119.6, 0.3,   0.6,   557.6, 339.3,
                                     888.0, 998.5, 778.9, 10.2,  117.6, 228.9, 668.4, 449.2, 0.2};
const std::vector<double> NorrisX = {0.2,   337.4, 118.2, 884.6, 10.1,  226.5, 666.3, 996.3, 448.6,
                                     777.0, 558.2, 0.4,   0.6,   775.5, 666.9, 338.0, 447.5, 11.6,
                                     556.0, 228.1, 995.8, 887.6, 120.2, 0.3,   0.3,   556.8, 339.1,
                                     887.2, 999.0, 779.0, 11.1,  118.3, 229.2, 669.1, 448.9, 0.5};
constexpr double NorrisB0 = -0.262323073774029, NorrisSdB0 = 0.232818234301152;
constexpr double NorrisB1 = 1.00211681802045, NorrisSdB1 = 0.429796848199937E-03;
constexpr double NorrisResidualSd = 0.884796396144373;

void quietHandler(const char*, const char*, int, int) {}

void expectRel(double value, double expected, double rel) { EXPECT_NEAR(value, expected, rel * std::fabs(expected)); }

// The diagonal of (JᵀWJ)⁻¹ for y = a·x^n, J_i = (x_i^n, a·x_i^n·ln x_i): the 2×2 inverse by hand.
std::pair<double, double> powerCovariance(const std::vector<double>& x, const std::vector<double>& w, double a,
                                          double n)
{
    double m00 = 0.0, m01 = 0.0, m11 = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double ja = std::pow(x[i], n), jn = a * ja * std::log(x[i]);
        m00 += w[i] * ja * ja;
        m01 += w[i] * ja * jn;
        m11 += w[i] * jn * jn;
    }
    const double det = m00 * m11 - m01 * m01;
    return {m11 / det, m00 / det};
}

} // namespace

TEST(Laws, AffineMatchesNistNorrisAndLeavesNonFinitePointsOut)
{
    std::vector<double> x = NorrisX, y = NorrisY;
    x.push_back(NaN), y.push_back(5.0);
    x.push_back(3.0), y.push_back(std::numeric_limits<double>::infinity());
    const LawFit f = fitLaw(LawKind::Affine, x, y);
    ASSERT_TRUE(f.ok) << f.message;
    EXPECT_EQ(f.points, 36u);
    EXPECT_FALSE(f.weighted);
    expectRel(f.b.value, NorrisB0, 1e-10);
    expectRel(f.b.sigma, NorrisSdB0, 1e-10);
    expectRel(f.a.value, NorrisB1, 1e-12);
    expectRel(f.a.sigma, NorrisSdB1, 1e-10);
    expectRel(f.chi2PerDof, NorrisResidualSd * NorrisResidualSd, 1e-10);
    EXPECT_NEAR(f.at(500.0), NorrisB0 + 500.0 * NorrisB1, 1e-8);
}

TEST(Laws, ProportionalMatchesNistNoInt1AndNoInt2)
{
    std::vector<double> x1, y1;
    for (int i = 0; i <= 10; ++i) x1.push_back(60.0 + i), y1.push_back(130.0 + i);
    const LawFit f1 = fitLaw(LawKind::Proportional, x1, y1);
    ASSERT_TRUE(f1.ok) << f1.message;
    expectRel(f1.a.value, 2.07438016528926, 1e-12);
    expectRel(f1.a.sigma, 0.165289256198347E-01, 1e-10);
    expectRel(f1.chi2PerDof, 3.56753034006338 * 3.56753034006338, 1e-10);
    EXPECT_DOUBLE_EQ(f1.at(10.0), 10.0 * f1.a.value);
    EXPECT_EQ(f1.b.value, 0.0);

    const LawFit f2 = fitLaw(LawKind::Proportional, std::vector<double>{4, 5, 6}, std::vector<double>{3, 4, 4});
    ASSERT_TRUE(f2.ok) << f2.message;
    expectRel(f2.a.value, 0.727272727272727, 1e-12);
    expectRel(f2.a.sigma, 0.420827318078432E-01, 1e-10);
}

TEST(Laws, WeightsScaleTheSigmaOnlyWhenThePointsScatterMoreThanTheirSigma)
{
    // Equal σ: the same line as ordinary least squares, with χ²/ν = s²/σ².
    // σ = 0.1 ≪ s = 0.885: χ²/ν = 78.29, the σ scaled by √(χ²/ν) are NIST's certified ones.
    const LawFit tight = fitLaw(LawKind::Affine, NorrisX, NorrisY, std::vector<double>(36, 0.1));
    ASSERT_TRUE(tight.ok) << tight.message;
    EXPECT_TRUE(tight.weighted && tight.scaled);
    expectRel(tight.chi2PerDof, 78.2864662630070, 1e-9);
    expectRel(tight.a.value, NorrisB1, 1e-12);
    expectRel(tight.a.sigma, NorrisSdB1, 1e-9);
    expectRel(tight.b.sigma, NorrisSdB0, 1e-9);
    // σ = 10 ≫ s: χ²/ν = 0.00783 < 1, the σ are the points' own: certified sd · 10/s.
    const LawFit loose = fitLaw(LawKind::Affine, NorrisX, NorrisY, std::vector<double>(36, 10.0));
    ASSERT_TRUE(loose.ok) << loose.message;
    EXPECT_TRUE(loose.weighted && !loose.scaled);
    expectRel(loose.chi2PerDof, 0.00782864662630070, 1e-9);
    expectRel(loose.a.sigma, 0.00485757910037652, 1e-9);
    expectRel(loose.b.sigma, 2.63131987557466, 1e-9);

    // Unequal σ = 0.1, 0.2, 0.5 → w = 100, 25, 4 on x = 1, 2, 3, y = 2.0, 4.1, 6.3:
    // a = Σwxy/Σwx² = (200 + 205 + 75.6)/(100 + 100 + 36) = 480.6/236 = 2.0364407;
    // χ² = 100·0.0364407² + 25·0.0271186² + 4·0.1906780² = 0.29661, χ²/ν = 0.14831 < 1;
    // σa = 1/√236 = 0.0650945.
    const std::vector<double> x{1, 2, 3}, y{2.0, 4.1, 6.3};
    const LawFit p = fitLaw(LawKind::Proportional, x, y, std::vector<double>{0.1, 0.2, 0.5});
    ASSERT_TRUE(p.ok) << p.message;
    EXPECT_TRUE(p.weighted && !p.scaled);
    EXPECT_NEAR(p.a.value, 480.6 / 236.0, 1e-12);
    EXPECT_NEAR(p.a.sigma, 1.0 / std::sqrt(236.0), 1e-12);
    EXPECT_NEAR(p.chi2PerDof, 0.148305084745762, 1e-12);

    // One σ that is not a positive finite number: ordinary least squares.
    for (double bad : {0.0, -1.0, NaN}) {
        const LawFit o = fitLaw(LawKind::Proportional, x, y, std::vector<double>{0.1, bad, 0.5});
        ASSERT_TRUE(o.ok) << o.message;
        EXPECT_FALSE(o.weighted);
        EXPECT_NEAR(o.a.value, (2.0 + 8.2 + 18.9) / 14.0, 1e-12); // Σxy/Σx²
    }
}

TEST(Laws, ExactlyEnoughPointsGiveZeroSigma)
{
    const LawFit f = fitLaw(LawKind::Affine, std::vector<double>{1, 3}, std::vector<double>{5, 1});
    ASSERT_TRUE(f.ok) << f.message;
    EXPECT_DOUBLE_EQ(f.a.value, -2.0);
    EXPECT_DOUBLE_EQ(f.b.value, 7.0);
    EXPECT_TRUE(f.a.sigma == 0.0 && f.b.sigma == 0.0 && f.chi2PerDof == 0.0);
    const LawFit p = fitLaw(LawKind::Proportional, std::vector<double>{4}, std::vector<double>{-2}, std::vector<double>{1});
    ASSERT_TRUE(p.ok) << p.message;
    EXPECT_DOUBLE_EQ(p.a.value, -0.5);
    EXPECT_EQ(p.a.sigma, 0.0);
}

TEST(Laws, PowerLawRecoversExactData)
{
    std::vector<double> x, y, sigma, w;
    for (int i = 1; i <= 6; ++i) {
        x.push_back(i), y.push_back(3.0 * std::pow(i, 1.5));
        sigma.push_back(0.1 * y.back()), w.push_back(1.0 / (sigma.back() * sigma.back()));
    }
    const LawFit f = fitLaw(LawKind::Power, x, y);
    ASSERT_TRUE(f.ok) << f.message;
    EXPECT_NEAR(f.a.value, 3.0, 1e-10);
    EXPECT_NEAR(f.n.value, 1.5, 1e-10);
    EXPECT_TRUE(f.a.sigma < 1e-9 && f.n.sigma < 1e-9);
    EXPECT_NEAR(f.at(4.0), 24.0, 1e-9);

    // Weighted, χ² ≈ 0: not scaled, the σ those of (JᵀWJ)⁻¹.
    const LawFit g = fitLaw(LawKind::Power, x, y, sigma);
    ASSERT_TRUE(g.ok) << g.message;
    EXPECT_TRUE(g.weighted && !g.scaled);
    const auto [caa, cnn] = powerCovariance(x, w, 3.0, 1.5);
    expectRel(g.a.sigma, std::sqrt(caa), 1e-6);
    expectRel(g.n.sigma, std::sqrt(cnn), 1e-6);
}

TEST(Laws, PowerLawFindsTheLeastSquaresOptimumNearTheLogLogLine)
{
    // x = 1, 2, 4, 8 (u = log₂x = 0, 1, 2, 3), y = 2.1, 3.9, 8.2, 15.8.
    // ln y = 0.741937, 1.360977, 2.104134, 2.760010, mean 1.741764; Σ(u − 1.5)² = 5,
    // Σ(u − 1.5)·ln y = 1.5·(2.760010 − 0.741937) + 0.5·(2.104134 − 1.360977) = 3.398688:
    // n₀ = 3.398688/(5·ln 2) = 0.980654, ln a₀ = 1.741764 − 1.5·0.679738 = 0.722158, a₀ = 2.058872,
    // whose residual sum is 0.0619761. The fit on y itself moves a little from there.
    const std::vector<double> x{1, 2, 4, 8}, y{2.1, 3.9, 8.2, 15.8};
    const LawFit f = fitLaw(LawKind::Power, x, y);
    ASSERT_TRUE(f.ok) << f.message;
    EXPECT_FALSE(f.weighted);
    EXPECT_NEAR(f.n.value, 0.980654, 0.01);
    EXPECT_NEAR(f.a.value, 2.058872, 0.05);
    double rss = 0.0, ga = 0.0, gn = 0.0, scale = 0.0; // the gradient vanishes at the optimum
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double xn = std::pow(x[i], f.n.value), r = f.a.value * xn - y[i];
        rss += r * r;
        ga += r * xn;
        gn += r * f.a.value * xn * std::log(x[i]);
        scale += std::fabs(y[i] * f.a.value * xn * std::log(8.0));
    }
    EXPECT_LT(rss, 0.0619761);
    EXPECT_LT(std::fabs(ga), 1e-9 * scale);
    EXPECT_LT(std::fabs(gn), 1e-9 * scale);
    EXPECT_NEAR(f.chi2PerDof, rss / 2.0, 1e-12);
    const auto [caa, cnn] = powerCovariance(x, {1, 1, 1, 1}, f.a.value, f.n.value);
    expectRel(f.a.sigma, std::sqrt(caa * rss / 2.0), 1e-6);
    expectRel(f.n.sigma, std::sqrt(cnn * rss / 2.0), 1e-6);
}

TEST(Laws, RefusesWithAFrenchMessage)
{
    using V = std::vector<double>;
    struct Case {
        LawKind kind;
        V x, y;
        const char* message; // nullptr: any
    };
    const Case cases[] = {
        {LawKind::Proportional, {}, {}, "La loi proportionnelle demande au moins un point."},
        {LawKind::Proportional, {NaN}, {1}, "La loi proportionnelle demande au moins un point."},
        {LawKind::Proportional, {0, 0}, {1, 2}, "Les abscisses sont toutes nulles : la loi proportionnelle est indéterminée."},
        {LawKind::Affine, {1, NaN}, {1, 2}, "La loi affine demande au moins deux points."},
        {LawKind::Affine, {2, 2, 2}, {1, 2, 3}, "Les abscisses sont toutes égales : la loi affine est indéterminée."},
        {LawKind::Power, {1}, {1}, nullptr},
        {LawKind::Power, {1, 0, 3}, {1, 2, 3}, "La loi puissance demande des abscisses et des ordonnées positives."},
        {LawKind::Power, {1, 2, 3}, {1, -2, 3}, "La loi puissance demande des abscisses et des ordonnées positives."},
        {LawKind::None, {1, 2}, {1, 2}, nullptr},
        {LawKind::Affine, {1, 2, 3}, {1, 2}, nullptr},
    };
    for (const Case& c : cases) {
        const LawFit f = fitLaw(c.kind, c.x, c.y);
        EXPECT_FALSE(f.ok);
        EXPECT_FALSE(f.message.empty());
        if (c.message != nullptr) {
            EXPECT_EQ(f.message, c.message);
        }
        EXPECT_TRUE(std::isnan(f.at(1.0)));
    }
}

TEST(Laws, PutsBackTheGslErrorHandlerItFound)
{
    gsl_error_handler_t* before = gsl_set_error_handler(&quietHandler);
    for (LawKind kind : {LawKind::Proportional, LawKind::Affine, LawKind::Power})
        fitLaw(kind, std::vector<double>{1, 2, 3}, std::vector<double>{2, 3, 5});
    EXPECT_EQ(gsl_set_error_handler(before), &quietHandler);
}

TEST(Transform, PropagatesSigmaLikeAFiniteDifference)
{
    struct Case {
        Transform t;
        double (*f)(double);
    };
    const Case cases[] = {{Transform::Square, [](double v) { return v * v; }},
                          {Transform::Inverse, [](double v) { return 1.0 / v; }},
                          {Transform::SquareRoot, [](double v) { return std::sqrt(v); }}};
    for (const Case& c : cases)
        for (double x : {0.3, 2.0, 7.5}) {
            const double h = 1e-6 * x, slope = (c.f(x + h) - c.f(x - h)) / (2.0 * h);
            const Valued v = transformed(c.t, {x, 0.02});
            EXPECT_DOUBLE_EQ(v.value, c.f(x));
            EXPECT_NEAR(v.sigma, 0.02 * std::fabs(slope), 1e-7 * v.sigma);
        }
    // x² of a negative value: the σ stays positive.
    EXPECT_NEAR(transformed(Transform::Square, {-3.0, 0.1}).sigma, 0.6, 1e-15);
    const Valued id = transformed(Transform::Identity, {-4.0, 0.5});
    EXPECT_TRUE(id.value == -4.0 && id.sigma == 0.5);
}

TEST(Transform, OutsideTheDomainGivesNaN)
{
    const Valued inv = transformed(Transform::Inverse, {0.0, 0.1});
    EXPECT_TRUE(std::isnan(inv.value) && std::isnan(inv.sigma));
    const Valued neg = transformed(Transform::SquareRoot, {-1.0, 0.1});
    EXPECT_TRUE(std::isnan(neg.value) && std::isnan(neg.sigma));
    const Valued zero = transformed(Transform::SquareRoot, {0.0, 0.1}); // √0 = 0, no finite slope
    EXPECT_EQ(zero.value, 0.0);
    EXPECT_TRUE(std::isnan(zero.sigma));
}
