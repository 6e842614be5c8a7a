#pragma once
// The lines a Pendulab board sends (docs/board-protocol.md), read incrementally and checked strictly.
// Plain C++, no Qt. Feed it the bytes as they arrive; it hands back what they mean, or a fault in
// French once anything is off (a malformed or cut line, a sample out of sequence, a code out of
// range): a fault is never turned into a number.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pendulab::board {

inline constexpr int kProtocolVersion = 1;
inline constexpr std::size_t kMaxLineLength = 80;

struct Identity {
    int protocol = 0;
    int bits = 0;            // the converter's resolution
    int vrefMillivolts = 0;  // its reference: volts = code * vref_mV / 1000 / 2^bits
    double volts(std::uint32_t code) const { return code * (vrefMillivolts / 1000.0) / double(1u << bits); }
};

// What the parser waits for; anything else is a fault.
enum class Expect {
    Nothing,   // the board should be silent
    Identity,  // the answer to "ID?"; lines before it are skipped (an Uno may print noise as it boots)
    Reading,   // the answer to "READ"
    Run,       // the echo of "RUN <count> <period_us>", the samples, then "END"
};

struct Event {
    enum class Kind {
        Identity,  // identity
        Reading,   // code
        RunEcho,   // count, periodMicroseconds
        Sample,    // index, code
        End,       // the run is over
        Error,     // the board said "ERR <reason>": text is the reason
        Fault,     // the bytes broke the protocol: text says how, in French
    };
    Kind kind = Kind::Fault;
    Identity identity{};
    std::uint32_t index = 0;
    std::uint32_t code = 0;
    std::uint32_t count = 0;
    std::uint32_t periodMicroseconds = 0;
    std::string text;
};

class Parser {
public:
    // Waits for the answer to "ID?". Also forgets any half-received line and any earlier fault.
    void expectIdentity();
    // Waits for one reading; codes must fit the identity's bits.
    void expectReading(const Identity& identity);
    // Waits for the echo of "RUN count period_us", then the samples 0, 1, 2... and END.
    // count == 0: samples until END (after STOP).
    void expectRun(const Identity& identity, std::uint32_t count, std::uint32_t periodMicroseconds);
    void expectNothing();

    // Reads `bytes`, appending to `out` one event per complete line (nothing for an identity's
    // skipped noise). After a Fault or an Error, further bytes are ignored until the next expect*().
    void feed(std::string_view bytes, std::vector<Event>& out);
    // The link closed or went silent: a line begun and never ended is a cut line. Appends a Fault
    // for it, if any.
    void finish(std::vector<Event>& out);

    bool failed() const { return failed_; }
    bool hasPartialLine() const { return !partial_.empty(); }
    // Samples accepted in the current run.
    std::uint32_t samplesReceived() const { return nextIndex_; }
    bool runEnded() const { return ended_; }

private:
    void line(std::string_view text, std::vector<Event>& out);
    bool runLine(std::string_view text, std::vector<Event>& out);
    void badSample(std::uint32_t index, std::uint32_t code, std::vector<Event>& out);
    void identityLine(std::string_view text, std::vector<Event>& out);
    bool readingLine(std::string_view text, std::vector<Event>& out);
    bool echoLine(std::string_view text, std::vector<Event>& out);
    void fault(std::string message, std::vector<Event>& out);
    void reset(Expect expect);

    Expect expect_ = Expect::Nothing;
    Identity identity_{};
    std::uint32_t maxCode_ = 0;
    std::uint32_t count_ = 0;
    std::uint32_t period_ = 0;
    std::uint32_t nextIndex_ = 0;
    bool echoed_ = false;
    bool ended_ = false;
    bool failed_ = false;
    bool overlong_ = false;
    std::string partial_;
};

// Parses a whole identity line ("PENDULAB-BOARD 1 10 5000"); false when it is not one we can use.
bool parseIdentity(std::string_view line, Identity& identity);

}  // namespace pendulab::board
