#pragma once
// A device on a serial port that prints its readings as text lines of its own (an Arduino sketch
// doing Serial.println(t + "," + x)), as a sample source that records at the device's instants.
//
// Like the board, the port belongs to a thread of the source's own; recordTimed() and readLive()
// wait for it, and recordTimed() hands the samples to its sink on the caller's thread. A run
// starts from fresh lines: what arrived before it is dropped, and so is the first line, which may
// be cut. Lines that are not numbers are counted and skipped, never read as zeros.
#include <memory>
#include <string>

#include "acquisition/SampleSource.h"
#include "acquisition/TextLines.h"

namespace pendulab {

struct TextLineOptions {
    int firstLineTimeoutMs = 3000; // an Uno restarts when its port opens, and boots in about 2 s
    int silenceTimeoutMs = 1500;   // longest silence between two lines during a run
    int injectedOpenErrno = 0;     // tests: fail to open as with this errno
};

class TextLineSource final : public SampleSource {
public:
    // Opens `devicePath` at the format's baud. Throws SourceError (in French) when the port cannot
    // be opened or the format cannot be used. Lines are not awaited: the device may still boot.
    static std::unique_ptr<TextLineSource> open(const std::string& devicePath, const textline::Format& format,
                                                const TextLineOptions& options = {});
    ~TextLineSource() override;
    TextLineSource(const TextLineSource&) = delete;
    TextLineSource& operator=(const TextLineSource&) = delete;

    std::string name() const override; // "Arduino 115200 bauds (lignes de texte)"
    bool present() const override;      // false once the device was unplugged
    double metresPerVolt() const override; // metres per unit of the values
    double minVolts() const override;
    double maxVolts() const override;
    bool ownInstants() const override { return true; }
    std::string sampleUnit() const override;
    // Refused: this device decides its own instants (the recorder uses recordTimed).
    std::size_t record(std::size_t count, std::int64_t periodMicroseconds, const BlockSink& sink) override;
    TimedEnd recordTimed(const TimedSink& sink) override;
    void stop() override;
    // The last value read from the lines that arrived since the previous call; none while
    // recording, or when no line has come for a second.
    std::optional<double> readLive() override;

    const std::string& devicePath() const;
    const textline::Format& format() const;

    struct Impl;

private:
    explicit TextLineSource(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

} // namespace pendulab
