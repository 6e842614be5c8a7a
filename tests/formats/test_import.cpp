// Foreign delimited text: dialect detection, resampling against a known function, the time base,
// and the refusals with their line numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "FormatsTestSupport.h"
#include "export/TextImport.h"

using namespace pendulab;
using namespace pendulab::testing;

namespace {

constexpr double A = 2.0, W = 3.0, T0 = 3.25, HMax = 0.01;

std::string num(double v, char decimal)
{
    char b[40];
    std::snprintf(b, sizeof b, "%.17g", v);
    std::string s(b);
    std::replace(s.begin(), s.end(), '.', decimal);
    return s;
}

// A·sin(W·t) sampled at irregular steps of at most HMax from T0 over 12.7 s, with a second column.
std::string sineTable(const std::string& header, char sep, char decimal)
{
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> step(0.2 * HMax, HMax);
    std::string s = "# enregistré par un autre logiciel\n\n" + header;
    for (double t = T0; t <= T0 + 12.7; t += step(rng))
        s += num(t, decimal) + sep + num(A * std::sin(W * t), decimal) + sep + num(-t, decimal) + "\r\n";
    return s;
}

TextTable parsed(const std::string& text) { return parseTextTable(text, "essai.csv"); }

} // namespace

TEST(TextImport, EveryDialectResamplesTheSineWithinTheInterpolationBound)
{
    struct Dialect {
        std::string header;
        char sep, decimal;
        bool hasHeader;
        std::string unit;
    };
    const Dialect dialects[] = {
        {"t (s),x (cm),y\n", ',', '.', true, "cm"},
        {"\xEF\xBB\xBF" "temps [s];position [m];autre\n", ';', ',', true, "m"},
        {"t\tx (V)\ty\n", '\t', '.', true, "V"},
        {"t\tx\ty\n", '\t', ',', true, "V"},
        {"", ';', '.', false, "V"},
    };
    // Linear interpolation of A·sin(W·t) over steps h ≤ HMax errs by at most A·W²·HMax²/8.
    const double bound = A * W * W * HMax * HMax / 8 + 1e-12;
    for (const Dialect& d : dialects) {
        SCOPED_TRACE(d.header);
        const TextTable table = parsed(sineTable(d.header, d.sep, d.decimal));
        EXPECT_EQ(table.separator, d.sep);
        EXPECT_EQ(table.decimalMark, d.decimal);
        EXPECT_EQ(table.hasHeader, d.hasHeader);
        ASSERT_EQ(table.columnNames.size(), 2u);
        if (!d.hasHeader) {
            EXPECT_EQ(table.columnNames[0], "colonne 2");
        }
        const ImportedMeasurement im = importColumn(table, 0);
        const Measurement& m = im.measurement;
        EXPECT_EQ(m.durationSeconds, 12);
        EXPECT_EQ(m.origin, Origin::File);
        EXPECT_EQ(m.source, "essai.csv");
        EXPECT_EQ(m.unit, d.unit);
        EXPECT_TRUE(im.note.empty());
        ASSERT_EQ(m.volts.size(), 2001u);
        double worst = 0;
        for (std::size_t i = 0; i < 2001; ++i)
            worst = std::max(worst, std::abs(m.volts[i] - A * std::sin(W * (T0 + i * 12.0 / 2000))));
        EXPECT_LE(worst, bound);
        EXPECT_GT(worst, 0.0); // points fall between samples: the check is not vacuous
        EXPECT_NEAR(importColumn(table, 1).measurement.volts[2000], -(T0 + 12), 1e-9);
    }
}

TEST(TextImport, CommaAsDecimalOrAsSeparator)
{
    std::string semicolon, comma;
    for (int i = 0; i < 12; ++i) {
        semicolon += std::to_string(i) + ",5;2,5\n";
        comma += std::to_string(i) + ",5,2,5\n";
    }
    const TextTable a = parsed(semicolon);
    EXPECT_EQ(a.values.size(), 1u);
    EXPECT_EQ(a.times[1], 1.5);
    EXPECT_EQ(a.values[0][0], 2.5);
    const TextTable b = parsed(comma);
    EXPECT_EQ(b.values.size(), 3u);
    EXPECT_EQ(b.times[1], 1.0);
    EXPECT_EQ(b.values[0][0], 5.0);
}

TEST(TextImport, PhoneRecordingWithSeveralColumnsIsCutAt120Seconds)
{
    std::string s = "\"Time (s)\",\"Acceleration x (m/s^2)\",\"Acceleration y (m/s^2)\",\"Acceleration z (m/s^2)\"\n";
    char line[160];
    for (int i = 0; i < 100000; ++i) {
        const double t = 0.0125 + i * 0.002;
        std::snprintf(line, sizeof line, "%.9E,%.9E,%.9E,%.9E\n", t, 0.01 * i, std::cos(t), 9.81 + t);
        s += line;
    }
    const TextTable table = parsed(s);
    ASSERT_EQ(table.columnNames.size(), 3u);
    EXPECT_EQ(table.columnNames[2], "Acceleration z (m/s^2)");
    EXPECT_EQ(table.units[2], "m/s^2");
    EXPECT_EQ(table.times.size(), 100000u);
    const ImportedMeasurement im = importColumn(table, 2);
    EXPECT_EQ(im.measurement.durationSeconds, 120);
    EXPECT_EQ(im.note, "Le fichier couvre 199,998 s : seules les 120 premières secondes sont importées.");
    EXPECT_NEAR(im.measurement.volts[0], 9.81 + 0.0125, 1e-8);
    EXPECT_NEAR(im.measurement.volts[2000], 9.81 + 120.0125, 1e-8); // linear data: exact up to rounding
}

TEST(TextImport, VideoTrackingTableWithTitleAndDecimalComma)
{
    std::string s = "masse A\nt (s)\tx [m]\ty [m]\n";
    for (int i = 0; i <= 99; ++i) s += num(i * 0.04, ',') + "\t" + num(0.1 * i, ',') + "\t0,5\n";
    const TextTable table = parsed(s);
    EXPECT_EQ(table.timeName, "t (s)");
    EXPECT_EQ(table.columnNames, (std::vector<std::string>{"x [m]", "y [m]"}));
    const ImportedMeasurement im = importColumn(table, 0);
    EXPECT_EQ(im.measurement.durationSeconds, 3); // 3.96 s covered
    EXPECT_EQ(im.measurement.unit, "m");
    EXPECT_NEAR(im.measurement.volts[1000], 0.1 * 1.5 / 0.04, 1e-12);
}

TEST(TextImport, DurationIsTheWholeSecondsCoveredBetween1And120)
{
    auto durationFor = [](double last, std::string* note, const std::string& timeHeader = "t") {
        std::string s = timeHeader + ";v\n";
        for (int i = 0; i <= 20; ++i) s += num(last * i / 20, '.') + ";" + std::to_string(i) + "\n";
        const ImportedMeasurement im = importColumn(parsed(s), 0);
        *note = im.note;
        return im.measurement.durationSeconds;
    };
    std::string note;
    EXPECT_EQ(durationFor(9.999, &note), 9);
    EXPECT_EQ(note, "");
    EXPECT_EQ(durationFor(120.9, &note), 120);
    EXPECT_EQ(note, "");
    EXPECT_EQ(durationFor(121.5, &note), 120);
    EXPECT_EQ(note, "Le fichier couvre 121,5 s : seules les 120 premières secondes sont importées.");
    EXPECT_EQ(durationFor(0.5, &note), 1);
    EXPECT_EQ(note, "Le fichier ne couvre que 0,5 s : la dernière valeur est prolongée jusqu'à 1 s.");
    EXPECT_EQ(durationFor(5500, &note, "t (ms)"), 5);
}

TEST(TextImport, BadFilesAreRefusedWithWhatAndWhere)
{
    std::string ten, sixty;
    for (int i = 0; i < 10; ++i) ten += std::to_string(i) + ";1\n";
    for (int i = 0; i < 60; ++i) sixty += std::to_string(i) + "\n";
    struct Case {
        std::string text, message;
        int line;
    };
    const Case cases[] = {
        {"", "le fichier est vide", 0},
        {"# rien\n\n  \n", "le fichier est vide", 0},
        {std::string("t;x\n0;1\n1;\0" "2\n", 13), "fichier binaire", 3},
        {"t;x\n0;\xC3\x28\n", "UTF-8", 2},
        {"t;x\n0;\xE2\x82\n", "UTF-8", 2},
        {"t;x\n0;\xED\xA0\x80\n", "UTF-8", 2}, // U+D800, the first surrogate
        {"t\n1\n2\n3\n", "une seule colonne", 4},
        {"t;x\n" + ten + "9;2\n", "le temps ne croît pas (9 s après 9 s)", 12},
        {"t;x\n" + ten + "8,5;2\n", "le temps ne croît pas (8,5 s après 9 s)", 12},
        {"t;x\n0;1\n1;2\n", "trop peu de points (2, il en faut au moins 10)", 3},
        {"t;x\n" + ten + "10;nan\n", "valeur non finie « nan » en colonne 2", 12},
        {"t;x\n" + ten + "10;-inf\n", "valeur non finie « -inf »", 12},
        {"t;x\n" + ten + "10;1e999\n", "nombre illisible « 1e999 »", 12},
        {"t;x\n" + ten + "fin;0\n", "nombre illisible « fin » en colonne 1", 12},
        {"t;x\n" + ten + "10;1;2\n", "3 champs au lieu de 2", 12},
        {"t;x\n0;1\n\n1;\n" + ten, "valeur manquante en colonne 2", 4},
        // Comments and blank lines are skipped yet counted: the last line is line 5.
        {"titre\n# note\na;b\n\nc;d\n", "aucune ligne de nombres", 5},
        {"t;x\n5\n" + ten, "une seule colonne.", 2},
        // The separator is looked for on the first 50 table lines: the 50th is line 51 here.
        {"# x\nt\n" + sixty, "une seule colonne : il faut", 51},
    };
    for (const Case& c : cases) {
        try {
            const TextTable t = parsed(c.text);
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const FormatError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_EQ(std::string(e.what()).rfind("Impossible d'ouvrir le fichier « essai.csv » : ", 0), 0u) << e.what();
            if (c.line) {
                EXPECT_NE(std::string(e.what()).find("ligne " + std::to_string(c.line) + " : "), std::string::npos);
            }
            EXPECT_EQ(e.line(), c.line) << e.what();
        }
    }
    // Too big: refused from its size, before reading (the sparse file holds no data).
    const fs::path big = scratchDir("import-big") / "énorme.csv";
    writeText(big, "");
    fs::resize_file(big, 51u * 1024 * 1024);
    EXPECT_THROW(
        {
            try {
                readTextTable(big.string());
            } catch (const FormatError& e) {
                EXPECT_NE(std::string(e.what()).find("le fichier est trop gros (51 Mo, au plus 50 Mo)"), std::string::npos);
                throw;
            }
        },
        FormatError);
}
