// The experiment file: every field back exactly, and a newer, truncated or hand-broken file refused
// with a message naming what is wrong while the session stays as it was.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <QTemporaryDir>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "session/ExperimentFile.h"
#include "session/Session.h"

using namespace pendulab;

namespace {

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool sameValues(const std::vector<double>& a, const std::vector<double>& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!sameBits(a[i], b[i])) return false;
    return true;
}

// Three runs: a recording with a fit over an interval, a file at uneven instants, one hidden and
// recoloured; each with its own model, the second active, and notes.
void fillSession(Session& s)
{
    std::vector<double> volts(2001), at(300), uneven(300);
    for (std::size_t i = 0; i < volts.size(); ++i) {
        const double t = 0.005 * static_cast<double>(i);
        volts[i] = 0.1 + 4.0 * std::exp(-0.3 * t) * std::cos(8.16 * t) + 1e-3 * std::sin(91.0 * t); // not round numbers
    }
    for (std::size_t i = 0; i < at.size(); ++i) {
        at[i] = 0.25 + 0.0131 * static_cast<double>(i) + 0.004 * std::sin(static_cast<double>(i));
        uneven[i] = std::cos(3.3 * at[i]) / 3.0;
    }
    Measurement device;
    device.volts = volts;
    device.source = "Carte SYSAM PCI (simulation)";
    device.recordedAt = "2026-12-10T09:15:00";
    device.calibration = pendulab::Calibration{0.0123, -0.004, true};
    s.addRun(device);
    s.setInterval(1.0, 6.5);
    ASSERT_TRUE(s.fit(true).ok);
    Measurement file;
    file.volts = uneven;
    file.instants = at;
    file.origin = Origin::File;
    file.source = "pointage.csv";
    file.unit = "m";
    s.addRun(file, "pointage vidéo");
    ModelParameters p = s.parameters();
    p.excited = true;
    p.exciterPulsation = 7.7;
    p.shown = false;
    s.setParameters(p);
    s.addRun(device);
    s.setRunShown(2, false);
    s.setRunColour(2, 0x123456);
    s.setActiveRun(1);
    s.setNotes("Masse 300 g ; ressort n° 2.\nDeuxième ligne « guillemets ».");
}

} // namespace

TEST(ExperimentFile, EveryFieldOfEveryRunComesBackExactly)
{
    Session saved;
    fillSession(saved);
    QTemporaryDir dir;
    const std::string path = dir.filePath("td.pendulab").toStdString();
    saveExperimentFile(path, saved.experiment());
    Session read;
    read.setExperiment(loadExperimentFile(path));
    EXPECT_FALSE(read.modified());

    ASSERT_EQ(read.runCount(), 3);
    EXPECT_EQ(read.activeIndex(), 1);
    EXPECT_EQ(read.notes(), saved.notes());
    for (int i = 0; i < 3; ++i) {
        const pendulab::Run &a = saved.run(i), &b = read.run(i);
        EXPECT_EQ(b.name, a.name) << i;
        EXPECT_EQ(b.colour, a.colour) << i;
        EXPECT_EQ(b.shown, a.shown) << i;
        const Measurement &ma = a.measurement, &mb = b.measurement;
        EXPECT_TRUE(sameValues(mb.volts, ma.volts)) << i;
        EXPECT_TRUE(sameValues(mb.instants, ma.instants)) << i;
        EXPECT_EQ(mb.durationSeconds, ma.durationSeconds);
        EXPECT_EQ(mb.source, ma.source);
        EXPECT_EQ(mb.origin, ma.origin) << i;
        EXPECT_EQ(mb.recordedAt, ma.recordedAt);
        EXPECT_TRUE(sameBits(mb.calibration.slope, ma.calibration.slope));
        EXPECT_EQ(mb.calibration, ma.calibration);
        EXPECT_EQ(mb.unit, ma.unit) << i;
        EXPECT_EQ(b.parameters, a.parameters) << i;
        EXPECT_EQ(b.modelComputed, a.modelComputed);
        EXPECT_EQ(b.interval, a.interval) << i;
        ASSERT_EQ(b.fit.has_value(), a.fit.has_value()) << i;
        // What the session derives from them, again, to the bit.
        EXPECT_TRUE(sameValues(b.data.MeasSpeed, a.data.MeasSpeed)) << i;
        EXPECT_TRUE(sameValues(b.data.ModelPos, a.data.ModelPos)) << i;
    }
    const FitResult &fa = *saved.run(0).fit, &fb = *read.run(0).fit;
    for (auto field : {&FitResult::stiffness, &FitResult::friction, &FitResult::amplitude, &FitResult::offset,
                       &FitResult::releaseTime, &FitResult::exciterAmplitude}) {
        EXPECT_TRUE(sameBits((fb.*field).value, (fa.*field).value));
        EXPECT_TRUE(sameBits((fb.*field).sigma, (fa.*field).sigma));
    }
    EXPECT_TRUE(sameBits(fb.stiffnessFrictionCovariance, fa.stiffnessFrictionCovariance));
    EXPECT_TRUE(sameBits(fb.rms, fa.rms));
    EXPECT_EQ(fb.points, fa.points);
    EXPECT_EQ(fb.iterations, fa.iterations);
    EXPECT_TRUE(sameBits(fb.from, fa.from));
    EXPECT_TRUE(sameBits(fb.to, fa.to));
    EXPECT_EQ(fb.wholeRecording, fa.wholeRecording);
    EXPECT_EQ(fb.ok, fa.ok);
    read.setActiveRun(0);
    EXPECT_TRUE(read.fitInForce()); // the fitted model, still in force
}

TEST(ExperimentFile, ANewerTruncatedOrHandBrokenFileIsRefusedByNameAndChangesNothing)
{
    Session s;
    fillSession(s);
    const QByteArray good = experimentToJson(s.experiment());
    const auto refusal = [](const QByteArray& bytes) {
        try {
            experimentFromJson(bytes);
        } catch (const std::runtime_error& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    QByteArray newer = good;
    newer.replace("\"version\":2", "\"version\":3");
    EXPECT_NE(refusal(newer).find("plus récente"), std::string::npos) << refusal(newer);
    // A file of the first format, before the results' columns and graph, still opens.
    QJsonObject first = QJsonDocument::fromJson(good).object();
    first.remove(QStringLiteral("columns"));
    first.remove(QStringLiteral("results"));
    first.insert(QStringLiteral("version"), 1);
    EXPECT_EQ(refusal(QJsonDocument(first).toJson()), "");
    EXPECT_NE(refusal(good.left(good.size() / 2)).find("tronqué"), std::string::npos);
    EXPECT_NE(refusal("{\"a\":1}").find("pas une expérience"), std::string::npos);
    QByteArray broken = good;
    broken.replace("\"name\":\"pointage vidéo\"", "\"name\":12");
    EXPECT_NE(refusal(broken).find("mesure 2, « name »"), std::string::npos) << refusal(broken);
    broken = good;
    broken.replace("\"active\":1", "\"active\":3");
    EXPECT_NE(refusal(broken).find("« active »"), std::string::npos) << refusal(broken);

    // A file read whole, whose run the session cannot take (a missing sample): nothing changes.
    Experiment e = s.experiment();
    e.runs[1].measurement.volts[5] = std::nan("");
    const QByteArray withGap = experimentToJson(e);
    ASSERT_NE(withGap.indexOf("null"), -1); // written as null, read back as a gap
    e = experimentFromJson(withGap);
    EXPECT_TRUE(std::isnan(e.runs[1].measurement.volts[5]));
    s.setNotes("avant");
    EXPECT_THROW(s.setExperiment(e), std::invalid_argument);
    EXPECT_EQ(s.notes(), "avant");
    EXPECT_EQ(s.runCount(), 3);
    EXPECT_TRUE(s.modified());
}

TEST(ExperimentFile, AnExperimentWithoutRunsComesBackEmpty)
{
    Session s;
    s.setNotes("rien encore");
    const Experiment e = experimentFromJson(experimentToJson(s.experiment()));
    EXPECT_TRUE(e.runs.empty());
    EXPECT_EQ(e.active, -1);
    Session read;
    read.setExperiment(e);
    EXPECT_EQ(read.notes(), "rien encore");
    EXPECT_FALSE(read.hasMeasurement());
}
