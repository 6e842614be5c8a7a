// The resonance lab on the virtual card's bench: the settings reach the card (its log shows
// them), each driven run's steady state lands in the results, and seven pulsations around ω0
// give back the simulated pendulum's ω0 and Q through the resonance laws.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "acquisition/AcqData.h"
#include "acquisition/CardSource.h"
#include "session/ExperimentFile.h"
#include "session/RunSteady.h"
#include "session/Session.h"

using namespace pendulab;

namespace {

std::size_t column(const ResultsTable& t, const std::string& symbol)
{
    for (std::size_t q = 0; q < t.quantities.size(); ++q)
        if (t.quantities[q].symbol == symbol) return q;
    ADD_FAILURE() << "no column " << symbol;
    return 0;
}

// The virtual card, its bench put back as it was when the test ends (the library is the process's).
class Bench : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("VIRTUALCARD_PACE", "none", 1);
        ::setenv("VIRTUALCARD_LOG", log_.c_str(), 1);
        std::remove(log_.c_str());
        ASSERT_TRUE(card_.startUp());
        const auto b = card_.bench();
        ASSERT_TRUE(b.has_value());
        before_ = *b;
    }
    void TearDown() override
    {
        if (CardEcrireBanc != nullptr) CardEcrireBanc(nullptr, 0); // back to the card's own pendulum
        ::unsetenv("VIRTUALCARD_LOG");
    }
    std::string logText() const
    {
        std::ifstream in(log_);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string log_ = ::testing::TempDir() + "bench_card.log";
    CardSource card_{PENDULAB_BIN_DIR, [](const std::string&) {}};
    BenchSettings before_;
};

} // namespace

TEST_F(Bench, SevenPulsationsAroundOmega0GiveItsOmega0AndQ)
{
    BenchSettings b;
    b.mass = 0.32, b.stiffness = 18.5, b.friction = 0.64; // Q = √(k·m)/h ≈ 3.80
    b.amplitude = 0.0;                                     // released at rest
    b.exciter = true;
    b.exciterAmplitude = 0.5;
    const double w0 = std::sqrt(b.stiffness / b.mass), q = std::sqrt(b.stiffness * b.mass) / b.friction;
    Session s;
    s.setNextDuration(30);
    for (int i = 0; i < 7; ++i) {
        b.pulsation = w0 * (0.6 + 0.8 * i / 6.0);
        ASSERT_TRUE(card_.setBench(b));
        ASSERT_TRUE(s.record(card_, "", {}));
        ASSERT_TRUE(s.measurement().bench.has_value());
        EXPECT_EQ(*s.measurement().bench, b);
    }
    EXPECT_NE(logText().find("PendulabEcrireBanc(mass=0.32,stiffness=18.5,friction=0.64,amplitude=0,equilibrium=0.36,"
                             "exciter=1,pulsation=4.5"),
              std::string::npos)
        << logText().substr(0, 400);

    const ResultsTable t = s.results();
    const std::vector<std::string> headers = resultsHeaders(t);
    for (const char* h : {"Ωe (rad/s)", "σ Ωe", "A (V)", "σ A", "φ (rad)", "σ φ"})
        EXPECT_NE(std::find(headers.begin(), headers.end(), h), headers.end()) << h;
    const std::size_t we = column(t, "Ωe"), a = column(t, "A");
    EXPECT_NEAR(t.values[0][we].value, 0.6 * w0, 3 * t.values[0][we].sigma + 1e-3);
    // The steady amplitude at 0.6·ω0: ω0²·E/√((ω0² − Ωe²)² + (γ·Ωe)²).
    const double we0 = 0.6 * w0, gamma = b.friction / b.mass;
    const double expected = w0 * w0 * 0.5 / std::hypot(w0 * w0 - we0 * we0, gamma * we0);
    EXPECT_NEAR(t.values[0][a].value, expected, 0.01 * expected);

    for (const char* ordinate : {"A", "φ"}) {
        const auto x = axisChoice(t, "Ωe"), y = axisChoice(t, ordinate);
        ASSERT_TRUE(x && y);
        const ResultPoints p = resultPoints(t, *x, *y);
        ASSERT_EQ(p.x.size(), 7u);
        EXPECT_TRUE(std::all_of(p.fitted.begin(), p.fitted.end(), [](bool f) { return f; })) << "measured points";
        const LawFit law = fitResults(p, LawKind::Resonance);
        ASSERT_TRUE(law.ok) << ordinate << ": " << law.message;
        EXPECT_NEAR(law.omega0.value, w0, 0.01 * w0) << ordinate;
        EXPECT_NEAR(law.quality.value, q, 0.1 * q) << ordinate;
        const std::vector<std::string> report = lawReport(law, *x, *y, ",");
        ASSERT_GE(report.size(), 3u);
        EXPECT_EQ(report[1].rfind("ω0 = 7,6", 0), 0u) << report[1];
        EXPECT_EQ(report[1].substr(report[1].size() - 6), " rad/s");
        EXPECT_EQ(report[2].rfind("Q = 3,", 0), 0u) << report[2];
        if (std::string(ordinate) == "A") {
            EXPECT_EQ(report[3].rfind("A₀ = 0,5", 0), 0u) << report[3];
        }
    }
    // Against the model's k (set by hand, no fit), a steady value's points are no measured ones.
    const ResultPoints byModel = resultPoints(t, *axisChoice(t, "k"), *axisChoice(t, "Ωe"));
    ASSERT_EQ(byModel.fitted.size(), 7u);
    EXPECT_FALSE(byModel.fitted[0]);
    // In centimetres through the card's 0,005 m/V: A reads half its volts.
    s.setDisplayUnit("cm");
    const ResultsTable cm = s.results();
    EXPECT_EQ(resultsHeaders(cm)[resultsHeaders(cm).size() - 4], "A (cm)");
    EXPECT_NEAR(cm.values[0][a].value, 0.5 * t.values[0][a].value, 1e-12);
    EXPECT_NEAR(cm.values[0][a].sigma, 0.5 * t.values[0][a].sigma, 1e-12);
}

TEST_F(Bench, ARunKeepsItsBenchAndSaysWhenItsSteadyStateCannotBeRead)
{
    BenchSettings b;
    b.friction = 0.64, b.amplitude = 0.0, b.exciter = true, b.pulsation = 6.0, b.hidden = true;
    ASSERT_TRUE(card_.setBench(b));
    EXPECT_FALSE(card_.bench()->hidden) << "the card never sees the hidden flag";
    Session s;
    s.setNextDuration(3); // 5/γ = 2.5 s: half a second of steady state
    ASSERT_TRUE(s.record(card_, "", {}));
    const std::string said = steadyReport(s.activeRun(), s.activeScale(), ",");
    EXPECT_NE(said.find("moins de trois périodes de l'excitateur entre 2,5 s et 3 s"), std::string::npos) << said;
    EXPECT_TRUE(std::isnan(s.results().values[0][column(s.results(), "Ωe")].value));
    // Dragged over the last 4 s of a longer run, the span is the interval's.
    s.setNextDuration(12);
    ASSERT_TRUE(s.record(card_, "", {}));
    ASSERT_TRUE(s.activeRun().steady && s.activeRun().steady->ok);
    s.setInterval(12.0, 8.0);
    ASSERT_TRUE(s.activeRun().steady);
    EXPECT_TRUE(s.activeRun().steady->ok);
    EXPECT_GE(s.activeRun().steady->from, 8.0);
    EXPECT_NE(steadyReport(s.activeRun(), s.activeScale(), ",").find("Ωe = 6,0"), std::string::npos);

    // Not driven: no steady state; the model's "Excit." makes it driven at its own pulsation.
    BenchSettings still = b;
    still.exciter = false;
    ASSERT_TRUE(card_.setBench(still));
    ASSERT_TRUE(s.record(card_, "", {}));
    EXPECT_FALSE(s.activeRun().steady.has_value());
    EXPECT_TRUE(steadyReport(s.activeRun(), s.activeScale(), ",").empty());

    // The bench comes back from the experiment file, hidden flag and all.
    Experiment e = s.experiment();
    e.runs[1].measurement.bench->hidden = true;
    const Experiment back = experimentFromJson(experimentToJson(e));
    ASSERT_TRUE(back.runs[1].measurement.bench.has_value());
    EXPECT_EQ(*back.runs[1].measurement.bench, *e.runs[1].measurement.bench);
    EXPECT_FALSE(back.runs[2].measurement.bench->exciter);
    // A bench that is no pendulum is refused, naming it.
    QByteArray bad = experimentToJson(e);
    bad.replace("\"bench\":{\"amplitude\":0,\"equilibrium\":0.36,\"exciter\":true,\"exciterAmplitude\":0.3,"
                "\"friction\":0.64,\"hidden\":false,\"mass\":0.32",
                "\"bench\":{\"amplitude\":0,\"equilibrium\":0.36,\"exciter\":true,\"exciterAmplitude\":0.3,"
                "\"friction\":0.64,\"hidden\":false,\"mass\":-1");
    try {
        experimentFromJson(bad);
        ADD_FAILURE() << "a bench of mass -1 was read";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("mesure 1 › bench : La masse"), std::string::npos) << error.what();
    }
    // Values the card refuses change nothing.
    BenchSettings wrong = b;
    wrong.mass = 0.0;
    EXPECT_FALSE(card_.setBench(wrong));
    EXPECT_EQ(card_.bench()->mass, b.mass);
}
