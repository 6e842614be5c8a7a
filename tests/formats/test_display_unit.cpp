// The exports in the unit the student reads positions in, with the measured energies: read back by
// Python's csv module and openpyxl (tests/formats/check_files.py dump), and by our own reader.
#include <gtest/gtest.h>

#include <cstdio>

#include "FormatsTestSupport.h"
#include "export/CsvFormat.h"
#include "export/XlsxFormat.h"

using namespace pendulab;
using namespace pendulab::testing;

namespace {

const std::string CentimetreTitles = "t (s)|V (V)|Y mes (cm)|dY/dt mes (cm/s)|Y theor (cm)|dY/dt theor (cm/s)"
                                     "|Ec mes (J)|Ep mes (J)|Em mes (J)";

// A device run calibrated 0,005 m/V from 0,01 m, shown in cm; row 1 set by hand.
MeasurementTable centimetreTable()
{
    MeasurementTable t = sampleTable();
    t.measurement.calibration = Calibration{0.005, 0.01, true};
    t.scale = *displayScale("V", t.measurement.calibration, "cm");
    t.measurement.volts[1] = 1.2;
    t.measPos[1] = 1.2;     // 100·(0,005·1,2 + 0,01) = 1,6 cm
    t.measSpeed[1] = 2.0;   // 100·0,005·2 = 1 cm/s
    t.modelPos[1] = -4.0;   // 100·(0,005·(−4) + 0,01) = −1 cm
    t.modelSpeed[1] = -3.0; // −1,5 cm/s
    std::vector<double> kinetic(2001, 0.25), potential(2001, 0.5);
    setMeasuredEnergies(t, kinetic, potential, 1, 1994);
    return t;
}

// What the independent reader prints: the titles, then row `row`'s cells (None for a blank).
std::vector<std::string> dumped(const std::string& file, int row, const std::string& dialect = "")
{
    const std::string command = std::string(PENDULAB_PYTHON) + " " + PENDULAB_FORMATS_CHECKERS + "check_files.py dump " +
                                file + " " + std::to_string(row) + " " + dialect;
    std::FILE* p = ::popen(command.c_str(), "r");
    std::vector<std::string> lines;
    if (!p) return lines;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, p)) {
        std::string line(buffer);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        lines.push_back(line);
    }
    EXPECT_EQ(::pclose(p), 0) << command;
    return lines;
}

void expectRowOne(const std::vector<std::string>& cells, const std::string& where)
{
    ASSERT_EQ(cells.size(), 10u) << where;
    EXPECT_EQ(cells[0], CentimetreTitles) << where;
    const double want[] = {0.0035, 1.2, 1.6, 1.0, -1.0, -1.5, 0.25, 0.5, 0.75}; // t = 1·7/2000 s
    for (std::size_t c = 0; c < 9; ++c)
        EXPECT_NEAR(std::stod(cells[c + 1]), want[c], 1e-12) << where << ", column " << c;
}

} // namespace

TEST(DisplayUnit, EveryExportCarriesTheUnitAndTheEnergies)
{
    const fs::path dir = scratchDir("units");
    const MeasurementTable t = centimetreTable();
    writeCsv((dir / "en.csv").string(), t, CsvDialect::Point);
    writeCsv((dir / "fr.csv").string(), t, CsvDialect::FrenchComma);
    writeXlsx((dir / "m.xlsx").string(), t);
    writeExperimentXlsx((dir / "e.xlsx").string(), {{"essai", t}}, ResultsSheet{{"Mesure"}, {"essai"}, {{}}});
    expectRowOne(dumped((dir / "en.csv").string(), 1, ", ."), "csv");
    expectRowOne(dumped((dir / "fr.csv").string(), 1, "';' ,"), "csv fr");
    expectRowOne(dumped((dir / "m.xlsx").string(), 1), "xlsx");
    expectRowOne(dumped((dir / "e.xlsx").string(), 1), "experiment");
    // Outside the span where the derivative is complete, the energies are blank, not zero.
    const std::vector<std::string> last = dumped((dir / "m.xlsx").string(), 2000);
    ASSERT_EQ(last.size(), 10u);
    EXPECT_EQ(last[7] + last[8] + last[9], "NoneNoneNone");
    EXPECT_NE(last[3], "None");
}

TEST(DisplayUnit, AFileInVoltsKeepsTheOldTitles)
{
    const fs::path dir = scratchDir("volts");
    writeXlsx((dir / "v.xlsx").string(), sampleTable());
    const std::vector<std::string> cells = dumped((dir / "v.xlsx").string(), 0);
    ASSERT_EQ(cells.size(), 10u);
    EXPECT_EQ(cells[0], "t (s)|V (V)|Y mes (V)|dY/dt mes (V/s)|Y theor (V)|dY/dt theor (V/s)"
                        "|Ec mes (J)|Ep mes (J)|Em mes (J)");
    EXPECT_EQ(cells[7] + cells[8] + cells[9], "NoneNoneNone");
}

TEST(DisplayUnit, WhatTheNewCodeWritesReadsBackExactly)
{
    MeasurementTable t = centimetreTable();
    t.measurement.unit = "cm"; // a file in centimetres: its raw column is "V (cm)"
    t.measurement.origin = Origin::File;
    const std::string text = csvText(t, CsvDialect::FrenchComma);
    EXPECT_NE(text.find("\nt (s);V (cm);Y mes (cm);"), std::string::npos);
    const CsvContents back = parseCsv(text, "m.csv");
    EXPECT_EQ(back.measurement.unit, "cm");
    EXPECT_EQ(back.measurement.calibration, (Calibration{0.005, 0.01, true}));
    ASSERT_EQ(back.measurement.volts.size(), 2001u);
    for (std::size_t i = 0; i < 2001; ++i) ASSERT_TRUE(sameBits(back.measurement.volts[i], t.measurement.volts[i])) << i;
    ASSERT_TRUE(back.hasModel);
    EXPECT_TRUE(sameBits(back.model.mass, t.model.mass));
    EXPECT_EQ(back.model.stiffness, 20.0);
}

TEST(DisplayUnit, AFileOfSixColumnsWrittenBeforeStillReads)
{
    // As earlier versions wrote it: no calibration offset, the six columns in volts.
    std::string text = "# Pendulab 2.0\n# source,Carte\n# origine,carte\n# date,\n# durée en s,10\n"
                       "# mètres par volt,0.004\n# unité,V\n# modèle affiché,non\n"
                       "t (s),V (V),Y mes (V),dY/dt mes (V/s),Y theor (V),dY/dt theor (V/s)\n";
    char row[96];
    for (int i = 0; i <= 2000; ++i) {
        std::snprintf(row, sizeof row, "%.17g,%.17g,99,-99,,\n", i * 10.0 / 2000.0, 0.001 * i - 1.0);
        text += row;
    }
    const CsvContents back = parseCsv(text, "ancien.csv");
    EXPECT_EQ(back.measurement.unit, "V");
    EXPECT_EQ(back.measurement.calibration, (Calibration{0.004, 0.0, true}));
    ASSERT_EQ(back.measurement.volts.size(), 2001u);
    EXPECT_EQ(back.measurement.volts[1], 0.001 - 1.0);
    EXPECT_EQ(back.measurement.volts[2000], 0.001 * 2000 - 1.0);
    EXPECT_FALSE(back.hasModel);
}
