// Reading a sketch's text lines: each separator and time unit, what is not a reading, cut lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "acquisition/TextLines.h"

namespace tl = pendulab::textline;

namespace {

tl::Format formatOf(tl::Separator s, tl::TimeUnit u, int timeColumn, int valueColumn)
{
    tl::Format f;
    f.separator = s;
    f.timeUnit = u;
    f.timeColumn = timeColumn;
    f.valueColumn = valueColumn;
    return f;
}

} // namespace

TEST(TextLines, EachSeparatorAndColumnReadsItsFields)
{
    struct Case {
        tl::Format format;
        const char* line;
        double time, value;
    };
    const Case cases[] = {
        {formatOf(tl::Separator::Comma, tl::TimeUnit::Milliseconds, 1, 2), "1520,0.731\r", 1520, 0.731},
        {formatOf(tl::Separator::Semicolon, tl::TimeUnit::Seconds, 1, 2), "1,52;-0,731", 1.52, -0.731},
        {formatOf(tl::Separator::Tab, tl::TimeUnit::Microseconds, 2, 1), "+3.5e-1\t 1520000 ", 1520000, 0.35},
        {formatOf(tl::Separator::Space, tl::TimeUnit::Milliseconds, 3, 1), "  12.5   7   40 extra", 40, 12.5},
        {formatOf(tl::Separator::Comma, tl::TimeUnit::None, 1, 3), "9,8,7", 0, 7},
    };
    for (const Case& c : cases) {
        const auto r = tl::parseLine(c.line, c.format);
        ASSERT_TRUE(r.has_value()) << c.line;
        EXPECT_DOUBLE_EQ(r->time, c.time) << c.line;
        EXPECT_DOUBLE_EQ(r->value, c.value) << c.line;
    }
    EXPECT_DOUBLE_EQ(tl::secondsPerTick(tl::TimeUnit::Milliseconds), 1e-3);
    EXPECT_DOUBLE_EQ(tl::secondsPerTick(tl::TimeUnit::Microseconds), 1e-6);
    EXPECT_DOUBLE_EQ(tl::secondsPerTick(tl::TimeUnit::Seconds), 1.0);
}

TEST(TextLines, WhatIsNotAReadingIsNeverANumber)
{
    const tl::Format f; // comma, ms in column 1, value in column 2
    for (const char* line : {"t,x", "temps (ms),position", "1520", "1520,", ",0.5", "1520,nan", "1520,inf", "1520,0.5abc",
                             "1520,0x1A", "15 20,0.5", "1520;0.5", "", "Capteur pret"}) {
        EXPECT_FALSE(tl::parseLine(line, f).has_value()) << line;
    }
    // With commas between fields, a decimal comma would be a third field: the value is column 2.
    const auto r = tl::parseLine("1520,0,5", f);
    ASSERT_TRUE(r.has_value());
    EXPECT_DOUBLE_EQ(r->value, 0.0);
}

TEST(TextLines, SplitterKeepsACutLineUntilItEnds)
{
    tl::LineSplitter splitter;
    std::vector<std::string> lines;
    const auto collect = [&](std::string_view l) { lines.emplace_back(l); };
    splitter.feed("10,1\n20,", collect);
    EXPECT_TRUE(splitter.hasPartialLine());
    splitter.feed("2\n\n30,3", collect);
    EXPECT_EQ(lines, (std::vector<std::string>{"10,1", "20,2", ""}));
    splitter.clear(); // a discard: "30,3" is forgotten, the next bytes start a line
    splitter.feed("40,4\n", collect);
    EXPECT_EQ(lines.back(), "40,4");
    // A runaway line is handed over cut to the longest line, and reads as nothing.
    splitter.feed(std::string(500, '7') + "\n", collect);
    EXPECT_EQ(lines.back().size(), tl::MostLineLength);
}

TEST(TextLines, GuessFindsTheSeparatorOfLinesOfNumbers)
{
    const auto semicolons = tl::guessFormat({"1,5;2,25", "2,5;2,5", "t;x"});
    ASSERT_TRUE(semicolons.has_value());
    EXPECT_EQ(semicolons->separator, tl::Separator::Semicolon);
    EXPECT_EQ(semicolons->columns, 2);
    const auto commas = tl::guessFormat({"Hello", "20,0.5,3", "40,0.6,3"});
    ASSERT_TRUE(commas.has_value());
    EXPECT_EQ(commas->separator, tl::Separator::Comma);
    EXPECT_EQ(commas->columns, 3);
    EXPECT_EQ(tl::guessFormat({"12 0.5", "13 0.6"})->separator, tl::Separator::Space);
    EXPECT_FALSE(tl::guessFormat({"20,0.5", "PENDULAB?", "ERR"}).has_value()); // one line is no device
}

TEST(TextLines, FormatsThatCannotBeUsedAreRefusedInFrench)
{
    tl::Format f;
    EXPECT_EQ(tl::refusalOf(f), "");
    f.baud = 12345;
    EXPECT_NE(tl::refusalOf(f).find("12345 bauds"), std::string::npos);
    f = {};
    f.valueColumn = 1;
    EXPECT_NE(tl::refusalOf(f).find("même colonne"), std::string::npos);
    f.timeUnit = tl::TimeUnit::None; // no time column: column 1 is free
    EXPECT_EQ(tl::refusalOf(f), "");
    f.metresPerUnit = 0.0;
    EXPECT_NE(tl::refusalOf(f), "");
    f = {};
    f.valueColumn = tl::MostColumns + 1;
    EXPECT_NE(tl::refusalOf(f), "");
}
