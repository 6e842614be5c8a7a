// The results across runs: the table a series of fitted runs gives, the student's own columns
// kept by the experiment file, and the law T0² = (4π²/k)·m found from three masses on the virtual
// card's spring.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "session/Session.h"
#include "virtualcard/Pendulum.h"

using namespace pendulab;

namespace {

// The virtual card's pendulum of mass m, 2001 samples over 10 s, as the card's converter gives them.
Measurement cardRun(double mass, std::uint32_t seed)
{
    virtualcard::PendulumSettings set;
    set.mass = mass;
    set.stiffness = 18.47;
    set.seed = seed;
    set.paced = false;
    virtualcard::Pendulum p(set);
    p.release();
    Measurement m;
    for (int i = 0; i <= 2000; ++i) m.volts.push_back((p.codeAt(i * 10.0 / 2000.0) - 2048) / 204.8);
    m.durationSeconds = 10;
    m.origin = Origin::Device;
    return m;
}

std::size_t column(const ResultsTable& t, const std::string& symbol)
{
    for (std::size_t q = 0; q < t.quantities.size(); ++q)
        if (t.quantities[q].symbol == symbol) return q;
    ADD_FAILURE() << "no column " << symbol;
    return 0;
}

} // namespace

TEST(Results, ThreeMassesGiveTheSpringsStiffnessThroughTheProportionalLaw)
{
    Session s;
    const double masses[] = {0.2, 0.35, 0.5};
    for (std::size_t i = 0; i < 3; ++i) {
        s.addRun(cardRun(masses[i], 7 + static_cast<std::uint32_t>(i)));
        ModelParameters p = s.parameters(); // the new run's, from the one before
        p.mass = masses[i];
        s.setParameters(p);
        ASSERT_TRUE(s.fit(false).ok);
    }
    const ResultsTable t = s.results();
    ASSERT_EQ(t.runs.size(), 3u);
    const std::size_t w0 = column(t, "ω0"), t0 = column(t, "T0");
    for (std::size_t r = 0; r < 3; ++r) {
        EXPECT_TRUE(t.fitted[r]);
        const ResultValue& w = t.values[r][w0];
        EXPECT_NEAR(t.values[r][t0].value, 2 * std::numbers::pi / w.value, 1e-12);
        EXPECT_NEAR(t.values[r][t0].sigma, 2 * std::numbers::pi * w.sigma / (w.value * w.value), 1e-15);
        EXPECT_GT(w.sigma, 0.0);
    }
    // The table's cells: k to σ's two significant digits, σ in its own column.
    const std::vector<std::string> row = resultsRow(t, 0, ".");
    EXPECT_NEAR(std::stod(row[3]), t.values[0][2].value, t.values[0][2].sigma);
    EXPECT_NEAR(std::stod(row[4]), t.values[0][2].sigma, 0.05 * t.values[0][2].sigma);
    const auto x = axisChoice(t, "m"), y = axisChoice(t, "T0²");
    ASSERT_TRUE(x && y);
    EXPECT_EQ(y->unit, "s²");
    const ResultPoints points = resultPoints(t, *x, *y);
    ASSERT_EQ(points.x.size(), 3u);
    const LawFit law = fitResults(points, LawKind::Proportional);
    ASSERT_TRUE(law.ok) << law.message;
    EXPECT_TRUE(law.weighted);
    const double expected = 4 * std::numbers::pi * std::numbers::pi / 18.47;
    EXPECT_NEAR(law.a.value, expected, 3 * law.a.sigma);
    EXPECT_NEAR(law.a.value, expected, 0.005 * expected);
    const std::vector<std::string> report = lawReport(law, *x, *y, ",");
    ASSERT_GE(report.size(), 3u);
    EXPECT_EQ(report[0], "T0² = a·m");
    EXPECT_EQ(report[1].rfind("a = 2,13", 0), 0u) << report[1];
    EXPECT_NE(report[1].find(" ± "), std::string::npos);
    EXPECT_EQ(report[1].substr(report[1].size() - 7), " s²/kg");
}

TEST(Results, ARunNotFittedShowsItsSetValuesWithoutSigma)
{
    Session s;
    ModelParameters p = s.parameters();
    p.mass = 0.5;
    p.stiffness = 20.0;
    p.friction = 0.1;
    s.setParameters(p);
    s.addRun(cardRun(0.5, 1));
    const ResultsTable t = s.results();
    ASSERT_EQ(t.runs.size(), 1u);
    EXPECT_FALSE(t.fitted[0]);
    EXPECT_DOUBLE_EQ(t.values[0][column(t, "ω0")].value, std::sqrt(40.0));
    EXPECT_DOUBLE_EQ(t.values[0][column(t, "T0")].value, 2 * std::numbers::pi / std::sqrt(40.0));
    EXPECT_DOUBLE_EQ(t.values[0][column(t, "Q")].value, std::sqrt(10.0) / 0.1);
    EXPECT_DOUBLE_EQ(t.values[0][column(t, "T")].value, 2 * std::numbers::pi / std::sqrt(40.0 - 0.01));
    EXPECT_TRUE(std::isnan(t.values[0][column(t, "k")].sigma));
    EXPECT_EQ(resultPoints(t, *axisChoice(t, "m"), *axisChoice(t, "1/t0")).x.size(), 0u); // 1/0: no point
    const std::vector<std::string> headers = resultsHeaders(t);
    ASSERT_GE(headers.size(), 6u);
    EXPECT_EQ(headers[0], "Mesure");
    EXPECT_EQ(headers[3], "k (N/m)");
    EXPECT_EQ(headers[4], "σ k");
    EXPECT_EQ(resultsRow(t, 0, ",").size(), headers.size());
    EXPECT_EQ(resultsRow(t, 0, ",")[4], ""); // no σ for a value set by hand
    // After the fit, the model is the fit's; a value changed by hand makes it a set value again.
    ASSERT_TRUE(s.fit(false).ok);
    EXPECT_TRUE(s.results().fitted[0]);
    p = s.parameters();
    p.stiffness += 1.0;
    s.setParameters(p);
    EXPECT_FALSE(s.results().fitted[0]);
}

TEST(Results, OwnColumnsAndTheGraphsChoiceComeBackFromTheFile)
{
    Session s;
    s.addRun(cardRun(0.3, 2));
    s.addRun(cardRun(0.3, 3));
    s.addOwnColumn("  L0 ", "cm");
    EXPECT_THROW(s.addOwnColumn("L0", ""), std::invalid_argument);
    EXPECT_THROW(s.addOwnColumn("k", ""), std::invalid_argument); // a result's name
    EXPECT_THROW(s.addOwnColumn("   ", ""), std::invalid_argument);
    EXPECT_THROW(s.setOwnValue(0, 1, 2.0), std::out_of_range);
    s.setOwnValue(1, 0, 12.5);
    s.setResultsChoice({"L0", "1/T0", LawKind::Affine});

    Session back;
    back.setExperiment(experimentFromJson(experimentToJson(s.experiment())));
    ASSERT_EQ(back.ownColumns().size(), 1u);
    EXPECT_EQ(back.ownColumns()[0], (OwnColumn{"L0", "cm"}));
    EXPECT_EQ(back.resultsChoice(), (ResultsChoice{"L0", "1/T0", LawKind::Affine}));
    const ResultsTable t = back.results();
    const std::size_t own = column(t, "L0");
    EXPECT_TRUE(std::isnan(t.values[0][own].value));
    EXPECT_EQ(t.values[1][own].value, 12.5);
    const auto inverse = axisChoice(t, "1/T0");
    ASSERT_TRUE(inverse);
    EXPECT_EQ(inverse->unit, "1/s");
    EXPECT_EQ(axisChoice(t, "√L0")->unit, "√cm");
    EXPECT_EQ(axisChoice(t, "h²")->unit, "(kg/s)²");
    EXPECT_EQ(axisChoice(t, "1/décalage")->unit, "1/V");
    EXPECT_EQ(resultsText(t, ",").substr(0, 15), "Mesure\tD (s)\tm ");
}
