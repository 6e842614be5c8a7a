#pragma once
// Text lines from a sketch of the teacher's own (an Arduino that prints "t,x" with Serial.println):
// how they are laid out, cutting the bytes into lines, and reading one line's time and value.
// Plain C++, no Qt: fast enough for any serial link (well over 10 million lines a second).
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pendulab::textline {

enum class Separator { Comma, Semicolon, Tab, Space };
// The time column's unit; None: the lines carry no time, the run uses their arrival.
enum class TimeUnit { None, Seconds, Milliseconds, Microseconds };

inline constexpr std::array<int, 6> Bauds{9600, 19200, 38400, 57600, 115200, 250000};
inline constexpr int MostColumns = 16;
inline constexpr std::size_t MostLineLength = 200; // longer is no reading: skipped as garbage

// How the sketch writes its lines and what its values are. The first time: 115200 baud, commas,
// the time in column 1 in ms, the value in column 2, in volts at the card's 0,005 m/V.
struct Format {
    int baud = 115200;
    Separator separator = Separator::Comma;
    TimeUnit timeUnit = TimeUnit::Milliseconds;
    int timeColumn = 1;  // counted from 1; unused when timeUnit is None
    int valueColumn = 2; // counted from 1
    std::string unit = "V";       // the value's unit, as the run keeps it
    double metresPerUnit = 0.005; // the sensor's calibration (exact for m, cm, mm)
    bool operator==(const Format&) const = default;
};

// Why a format cannot be used (in French), empty when it can: a baud not in the list, a column
// out of 1 … MostColumns, time and value in the same column, an empty unit, a slope ≤ 0.
std::string refusalOf(const Format& f);

// Seconds per unit of the time column (1e-3 for ms); 0 for None.
double secondsPerTick(TimeUnit unit);

// One line read: the time in the sketch's unit (0 without a time column) and the value.
struct Reading {
    double time = 0.0;
    double value = 0.0;
};

// Reads one line (without its end of line; a trailing '\r' and spaces around fields are allowed).
// Empty when the needed columns are missing or are not finite decimal numbers: a header, a
// message, a line cut by the link. With a semicolon, tab or space separator a decimal comma is
// read as a point; runs of spaces count as one separator.
std::optional<Reading> parseLine(std::string_view line, const Format& f);

// Cuts a byte stream into lines at '\n'. Bytes that end no line wait for the next feed.
class LineSplitter {
public:
    // Calls `onLine(std::string_view)` for each complete line in `bytes` (after what came before).
    // A line longer than MostLineLength is handed over cut to that length (it will not parse).
    template <class OnLine>
    void feed(std::string_view bytes, OnLine&& onLine)
    {
        while (!bytes.empty()) {
            const std::size_t end = bytes.find('\n');
            if (end == std::string_view::npos) {
                keep(bytes);
                return;
            }
            if (partial_.empty()) {
                onLine(bytes.substr(0, std::min(end, MostLineLength)));
            } else {
                keep(bytes.substr(0, end));
                onLine(std::string_view(partial_));
                partial_.clear();
            }
            bytes.remove_prefix(end + 1);
        }
    }
    // Forgets a line begun (the first line after a discard may be cut).
    void clear() { partial_.clear(); }
    bool hasPartialLine() const { return !partial_.empty(); }

private:
    void keep(std::string_view bytes)
    {
        const std::size_t room = MostLineLength > partial_.size() ? MostLineLength - partial_.size() : 0;
        partial_.append(bytes.substr(0, std::min(room, bytes.size())));
    }
    std::string partial_;
};

// What lines of numbers a device sends look like: the separator that splits them into the most
// numeric columns, and how many; none when fewer than two of the lines are numbers.
struct Guess {
    Separator separator = Separator::Comma;
    int columns = 0;
};
std::optional<Guess> guessFormat(const std::vector<std::string>& lines);

} // namespace pendulab::textline
