// Pendulab's CSV: exact round trip in both dialects, all-or-nothing writes, refused files.
#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>

#include "FormatsTestSupport.h"
#include "export/CsvFormat.h"
#include "export/XlsxFormat.h"

using namespace pendulab;
using namespace pendulab::testing;

TEST(CsvFormat, RoundTripIsBitExactInBothDialects)
{
    const fs::path dir = scratchDir("csv-roundtrip");
    MeasurementTable t = sampleTable();
    for (CsvDialect dialect : {CsvDialect::Point, CsvDialect::FrenchComma}) {
        const std::string path = (dir / "m.csv").string();
        writeCsv(path, t, dialect);
        const CsvContents back = readCsv(path);
        ASSERT_EQ(back.measurement.volts.size(), 2001u);
        for (std::size_t i = 0; i < 2001; ++i)
            ASSERT_TRUE(sameBits(back.measurement.volts[i], t.measurement.volts[i])) << i;
        EXPECT_EQ(back.measurement.durationSeconds, 7);
        EXPECT_EQ(back.measurement.source, t.measurement.source);
        EXPECT_EQ(back.measurement.recordedAt, "2026-12-09T14:03:00");
        EXPECT_TRUE(sameBits(back.measurement.calibration.slope, 0.1 + 0.2));
        EXPECT_EQ(back.measurement.calibration.offset, -0.0125);
        EXPECT_EQ(back.measurement.origin, Origin::Device);
        ASSERT_TRUE(back.hasModel);
        EXPECT_TRUE(back.modelShown);
        EXPECT_TRUE(sameBits(back.model.mass, t.model.mass));
        EXPECT_TRUE(sameBits(back.model.friction, 1.0 / 3.0));
        EXPECT_TRUE(back.model.excited);
        EXPECT_EQ(back.model.releaseTime, 0.35);
        EXPECT_EQ(back.model.durationSeconds, 7);
    }
}

TEST(CsvFormat, DialectFollowsTheLanguage)
{
    EXPECT_EQ(dialectForLocale("fr_FR.UTF-8"), CsvDialect::FrenchComma);
    EXPECT_EQ(dialectForLocale("fr-CA"), CsvDialect::FrenchComma);
    EXPECT_EQ(dialectForLocale("fr"), CsvDialect::FrenchComma);
    EXPECT_EQ(dialectForLocale("en_US"), CsvDialect::Point);
    EXPECT_EQ(dialectForLocale("fur_IT"), CsvDialect::Point);
    EXPECT_EQ(dialectForLocale(""), CsvDialect::Point);

    MeasurementTable t = sampleTable();
    t.measurement.volts[5] = 1.5;
    const std::string fr = csvText(t, CsvDialect::FrenchComma);
    EXPECT_NE(fr.find("\nt (s);V (V);Y mes (V);dY/dt mes (V/s);Y theor (V);dY/dt theor (V/s);Ec mes (J);Ep mes (J);Em mes (J)\n"), std::string::npos);
    EXPECT_NE(fr.find("\n0,0175;1,5;"), std::string::npos); // row 5: t = 5·7/2000 = 0.0175
    EXPECT_NE(fr.find("\n# mètres par volt;0,30000000000000004\n"), std::string::npos);
    EXPECT_NE(fr.find("\n# source;\"Carte SYSAM PCI (simulation); essai \"\"2\"\", ligne\\nsuivante \\\\ fin\"\n"), std::string::npos);
    const std::string en = csvText(t, CsvDialect::Point);
    EXPECT_NE(en.find("\n0.0175,1.5,"), std::string::npos);
}

TEST(CsvFormat, MissingModelArraysLeaveBlankCells)
{
    MeasurementTable t = sampleTable();
    t.modelPos.clear();
    t.modelSpeed.clear();
    const std::string text = csvText(t, CsvDialect::Point);
    EXPECT_NE(text.find(",,,,,\n"), std::string::npos); // the model's two columns, then the energies
    t.measPos.resize(12);
    EXPECT_THROW(csvText(t, CsvDialect::Point), FormatError);
}

TEST(CsvFormat, BothWritersWriteCompletelyOrNotAtAll)
{
    const fs::path dir = scratchDir("write");
    const MeasurementTable t = sampleTable();
    MeasurementTable shortTable = t;
    shortTable.measPos.resize(100); // a derived column shorter than the samples
    using Writer = void (*)(const std::string&, const MeasurementTable&);
    const Writer writers[] = {[](const std::string& p, const MeasurementTable& m) { writeCsv(p, m, CsvDialect::Point); },
                              [](const std::string& p, const MeasurementTable& m) { writeXlsx(p, m); }};
    for (Writer write : writers) {
        const fs::path target = dir / "protégé";
        writeText(target, "ancien contenu");
        ::chmod(target.c_str(), 0444);
        try {
            write(target.string(), t);
            ADD_FAILURE() << "a read-only file was overwritten";
        } catch (const FormatError& e) {
            EXPECT_STREQ(e.what(), ("Impossible d'enregistrer le fichier « " + target.string() +
                                    " » : le fichier est en lecture seule.").c_str());
        }
        EXPECT_EQ(readText(target), "ancien contenu");
        EXPECT_THROW(write((dir / "absent" / "m").string(), t), FormatError);
        const fs::path other = dir / "court";
        try {
            write(other.string(), shortTable);
            ADD_FAILURE() << "an incomplete table was written";
        } catch (const FormatError& e) {
            EXPECT_NE(std::string(e.what()).find("compte 100 points au lieu de 2001"), std::string::npos);
        }
        // Nothing left behind: only the read-only file remains.
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
        fs::remove(target);
    }
}

TEST(CsvFormat, DamagedFilesAreRefusedWithTheirLine)
{
    const std::string good = csvText(sampleTable(), CsvDialect::FrenchComma);
    struct Case {
        std::string text;
        std::string message;
        int line;
    };
    std::string badDuration = good;
    const std::string duration = "durée en s;7";
    badDuration.replace(badDuration.find(duration), duration.size(), "durée en s;sept");
    std::string badVolt = good;
    badVolt.replace(badVolt.find("\n0,0175;") + 8, 1, "x");
    std::string shortFile = good.substr(0, good.rfind('\n', good.size() - 2) + 1);
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string s = good;
        s.replace(s.find(from), from.size(), to);
        return s;
    };
    const Case cases[] = {
        {"x;y\n1;2\n", "ce n'est pas un fichier CSV de Pendulab", 1},
        {badDuration, "durée illisible", 5},
        {badVolt, "tension illisible", 26},
        {shortFile, "2000 lignes de mesures au lieu de 2001", 2020},
        {good + "1;2\n", "2 champs au lieu de 9", 2022},
        // The blank line counts: the stiffness, line 15 of the file as written, is now on line 16.
        {replaced("# raideur en N/m;20\n", "\n# raideur en N/m;raide\n"), "nombre illisible pour « raideur en N/m »", 16},
        {replaced(";V (V);", ";U (V);"), "la colonne « V (V) » manque", 20},
        {good + "1;2;3;4;5;6;7;8;9\n", "plus de 2001 lignes de mesures", 2022},
        {replaced("# durée en s;7\n", ""), "la durée manque", 0},
        {good.substr(0, good.find("\nt (s);") + 1), "la ligne des titres manque", 0},
    };
    for (const Case& c : cases) {
        try {
            parseCsv(c.text, "m.csv");
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const FormatError& e) {
            EXPECT_EQ(e.line(), c.line) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("« m.csv »"), std::string::npos) << e.what();
        }
    }
}
