// Random mutations of valid and invalid files: every outcome is a result or a FormatError.
#include <gtest/gtest.h>

#include <random>

#include "FormatsTestSupport.h"
#include "export/CsvFormat.h"
#include "export/TextImport.h"

using namespace pendulab;
using namespace pendulab::testing;

TEST(FormatsFuzz, MutatedFilesGiveAResultOrAFormatError)
{
    std::vector<std::string> seeds;
    MeasurementTable small = sampleTable(11);
    seeds.push_back(csvText(small, CsvDialect::FrenchComma).substr(0, 3000));
    seeds.push_back(csvText(small, CsvDialect::Point));
    std::string foreign = "\"t (s)\",\"a [m/s^2]\",\"b\"\n";
    for (int i = 0; i < 40; ++i) foreign += std::to_string(i * 0.05) + "," + std::to_string(i % 7) + ",-1e-3\n";
    seeds.push_back(foreign);
    seeds.push_back("masse A\nt\tx\n0,0\t1,5\n0,1\t2,5\n0,2\t3\n0,3\t4\n0,4\t5\n0,5\t6\n0,6\t7\n0,7\t8\n0,8\t9\n1,1\t1\n");
    seeds.push_back("1,5;2,5\n");
    const std::string alphabet = "0123456789.,;\t\n\r#\"-+eE nai\xC3\xA9\x80\xFF";

    std::mt19937 rng(20261209);
    int results = 0, errors = 0;
    for (int iteration = 0; iteration < 20000; ++iteration) {
        std::string s = seeds[rng() % seeds.size()];
        const int edits = 1 + static_cast<int>(rng() % 6);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = s.empty() ? 0 : rng() % s.size();
            switch (rng() % 4) {
            case 0: if (!s.empty()) s[at] = alphabet[rng() % alphabet.size()]; break;
            case 1: s.insert(at, 1, alphabet[rng() % alphabet.size()]); break;
            case 2: if (!s.empty()) s.erase(at, 1 + rng() % 8); break;
            default: s.insert(at, s.substr(rng() % (s.size() + 1), rng() % 40)); break;
            }
        }
        try {
            if (looksLikePendulabCsv(s)) {
                const CsvContents c = parseCsv(s, "f.csv");
                ASSERT_EQ(c.measurement.volts.size(), 2001u);
            } else {
                const TextTable t = parseTextTable(s, "f.csv");
                for (std::size_t c = 0; c < t.values.size(); ++c)
                    ASSERT_EQ(importColumn(t, c).measurement.volts.size(), 2001u);
            }
            ++results;
        } catch (const FormatError&) {
            ++errors;
        }
    }
    // Both outcomes occur, so the loop explores more than one path.
    EXPECT_GT(results, 100);
    EXPECT_GT(errors, 100);
}
