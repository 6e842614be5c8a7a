// Every file written is read back by a reader that is not ours: Python's csv module, openpyxl,
// gnumeric's ssconvert (tests/formats/check_files.py). Locale-sensitive checks run both dialects.
#include <gtest/gtest.h>

#include <clocale>

#include "FormatsTestSupport.h"
#include "export/CsvFormat.h"
#include "export/XlsxFormat.h"

using namespace pendulab;
using namespace pendulab::testing;

namespace {

// The expectation the checker compares with, from memory: the five value columns as raw
// doubles (NaN where absent), the source's bytes, and the parameter sheet's rows.
std::string writeExpectation(const fs::path& dir, const MeasurementTable& t)
{
    const fs::path prefix = dir / "expected";
    std::ofstream bin(prefix.string() + ".bin", std::ios::binary);
    const std::vector<double>* arrays[] = {&t.measurement.volts, &t.measPos, &t.measSpeed, &t.modelPos, &t.modelSpeed};
    for (std::size_t i = 0; i < 2001; ++i) {
        for (const std::vector<double>* a : arrays) {
            const double v = a->empty() ? std::nan("") : (*a)[i];
            bin.write(reinterpret_cast<const char*>(&v), sizeof v);
        }
    }
    writeText(prefix.string() + ".source", t.measurement.source);
    char n[64];
    auto num = [&](double v) { return std::snprintf(n, sizeof n, "%.17g", v), std::string(n); };
    const OscillatorInputs& m = t.model;
    writeText(prefix.string() + ".params",
              "Durée (s)\tn\t" + std::to_string(t.measurement.durationSeconds) + "\nSource\tS\t\nOrigine\ts\tcarte\n" +
                  "Date\ts\t" + t.measurement.recordedAt + "\nMètres par volt\tn\t" + num(t.measurement.calibration.slope) +
                  "\nDécalage d'étalonnage (m)\tn\t" + num(t.measurement.calibration.offset) + "\nÉtalonné\ts\toui" +
                  "\nUnité\ts\tV\nModèle affiché\ts\t" + (t.modelShown ? "oui" : "non") + "\nDécalage (V)\tn\t" +
                  num(m.offset) + "\nAmplitude (V)\tn\t" + num(m.amplitude) + "\nMasse (kg)\tn\t" + num(m.mass) +
                  "\nFrottement (kg/s)\tn\t" + num(m.friction) + "\nRaideur (N/m)\tn\t" + num(m.stiffness) +
                  "\nPulsation excitatrice (rad/s)\tn\t" + num(m.exciterPulsation) + "\nAmplitude excitatrice\tn\t" +
                  num(m.exciterAmplitude) + "\nInstant de lâcher (s)\tn\t" + num(m.releaseTime) + "\nExcitateur\ts\t" +
                  (m.excited ? "oui" : "non") + "\n");
    return prefix.string();
}

int check(const std::string& arguments)
{
    const std::string command = std::string(PENDULAB_PYTHON) + " " + PENDULAB_FORMATS_CHECKERS + "check_files.py " + arguments;
    return std::system(command.c_str());
}

} // namespace

TEST(ExternalReader, PythonCsvModuleReadsBothDialectsExactly)
{
    const fs::path dir = scratchDir("csv-python");
    MeasurementTable t = sampleTable();
    t.modelSpeed.clear(); // an absent column is left blank
    const std::string expected = writeExpectation(dir, t);
    writeCsv((dir / "en.csv").string(), t, CsvDialect::Point);
    writeCsv((dir / "fr.csv").string(), t, CsvDialect::FrenchComma);
    EXPECT_EQ(check("csv " + (dir / "en.csv").string() + " " + expected + " , . 7"), 0);
    EXPECT_EQ(check("csv " + (dir / "fr.csv").string() + " " + expected + " ';' , 7"), 0);
}

TEST(ExternalReader, OpenpyxlAndGnumericReadTheWorkbook)
{
    const fs::path dir = scratchDir("xlsx");
    const MeasurementTable t = sampleTable();
    const std::string expected = writeExpectation(dir, t);
    const std::string path = (dir / "mesure.xlsx").string();
    // A program in a French locale (built here: the system may have none) must still write '.'
    // in the workbook's numbers.
    ASSERT_EQ(std::system(("localedef -i fr_FR -f UTF-8 " + (dir / "fr_FR.UTF-8").string()).c_str()), 0);
    ::setenv("LOCPATH", dir.c_str(), 1);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"), nullptr);
    char half[8];
    std::snprintf(half, sizeof half, "%.1f", 0.5);
    EXPECT_STREQ(half, "0,5");
    writeXlsx(path, t);
    std::setlocale(LC_NUMERIC, "C");
    ::unsetenv("LOCPATH");
    EXPECT_EQ(check("xlsx " + path + " " + expected + " 7"), 0);
    EXPECT_EQ(check("ssconvert-xlsx " + path + " " + expected + " 7"), 0);
}

TEST(ExternalReader, GnumericReadsTheCsvInEachLanguage)
{
    const fs::path dir = scratchDir("csv-gnumeric");
    const MeasurementTable t = sampleTable();
    const std::string expected = writeExpectation(dir, t);
    writeCsv((dir / "en.csv").string(), t, CsvDialect::Point);
    writeCsv((dir / "fr.csv").string(), t, CsvDialect::FrenchComma);
    EXPECT_EQ(check("ssconvert-csv " + (dir / "en.csv").string() + " " + expected + " 7 en"), 0);
    EXPECT_EQ(check("ssconvert-csv " + (dir / "fr.csv").string() + " " + expected + " 7 fr"), 0);
}
