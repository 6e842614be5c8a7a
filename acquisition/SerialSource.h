#pragma once
// A Pendulab board (an Arduino Uno running firmware/pendulab-board) on a USB serial port, as a
// sample source. The protocol is in docs/board-protocol.md.
//
// The port belongs to a thread of the source's own, which opens it and makes every blocking call on
// it (Qt Serial Port wants one thread per port): record() and readLive() may be called from any
// thread, they wait for that thread's answer, and record() hands the blocks to `sink` on the
// caller's thread. stop() may be called from any thread; readLive() gives nothing while a run goes
// on. Destroy the source once no call on it is running.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "acquisition/BoardProtocol.h"
#include "acquisition/SampleSource.h"
#include "acquisition/TextLines.h"

namespace pendulab {

struct SerialOptions {
    int identifyTimeoutMs = 3000;  // an Uno restarts when its port opens, and boots in about 2 s
    int replyTimeoutMs = 1000;     // the answer to READ, the echo of RUN, END after STOP
    int silenceTimeoutMs = 1000;   // longest silence during a run beyond one sampling period
    // A device that does not answer as a board is then listened to at this baud (0: not at all)
    // for this long, in case it prints lines of numbers of its own.
    int lineBaud = 115200;
    int lineListenMs = 900;
    // For the tests (which run as root): behave as if opening the device had failed with this errno.
    int injectedOpenErrno = 0;
};

// What open() throws for a device that does not answer as a board but sends lines of numbers (a
// sketch of the teacher's own): the message is the "no board" one, for those who do not care.
class LinesInsteadOfBoard : public SourceError {
public:
    LinesInsteadOfBoard(const std::string& message, int baud, textline::Guess guess)
        : SourceError(message), baud_(baud), guess_(guess) {}
    int baud() const { return baud_; } // the speed the lines were read at
    const textline::Guess& guess() const { return guess_; }

private:
    int baud_;
    textline::Guess guess_;
};

struct BoardFound {
    std::string path;
    board::Identity identity;
};

class SerialSource final : public SampleSource {
public:
    // Opens `devicePath` (e.g. "/dev/ttyACM0") at 250000 baud and waits for the board to tell who it
    // is. Throws SourceError, in French, when the port cannot be opened or no board answers.
    static std::unique_ptr<SerialSource> open(const std::string& devicePath, const SerialOptions& options = {});
    ~SerialSource() override;
    SerialSource(const SerialSource&) = delete;
    SerialSource& operator=(const SerialSource&) = delete;

    std::string name() const override;  // "Carte Pendulab (/dev/ttyACM0)"
    bool present() const override;      // false once the board was unplugged
    double metresPerVolt() const override;
    void setMetresPerVolt(double metresPerVolt);
    double minVolts() const override;  // 0
    double maxVolts() const override;  // the converter's reference
    std::size_t record(std::size_t count, std::int64_t periodMicroseconds, const BlockSink& sink) override;
    void stop() override;
    std::optional<double> readLive() override;

    const std::string& devicePath() const;
    const board::Identity& identity() const;

    struct Impl;

private:
    explicit SerialSource(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// The USB serial ports that may hold a board: ttyACM* (an Uno) and ttyUSB* (clones with a USB-serial
// chip) in `deviceFolder`, sorted. Other serial ports, which may be other instruments', are left out.
std::vector<std::string> serialPortCandidates(const std::string& deviceFolder = "/dev");

// Asks each port "ID?" and returns those that answer as a Pendulab board. Blocking (up to
// identifyTimeoutMs per silent port): call it off the window's thread.
std::vector<BoardFound> probeBoards(const std::vector<std::string>& paths, const SerialOptions& options = {});
std::vector<BoardFound> probeBoards(const SerialOptions& options = {});

// The same, also telling the ports where a device sends lines of numbers instead.
struct LineDeviceFound {
    std::string path;
    int baud = 0;
    textline::Guess guess;
};
struct PortsFound {
    std::vector<BoardFound> boards;
    std::vector<LineDeviceFound> lineDevices;
};
PortsFound probePorts(const std::vector<std::string>& paths, const SerialOptions& options = {});

// The French message for a port that cannot be opened, from the errno of the failure.
std::string openFailureMessage(const std::string& devicePath, int error);

}  // namespace pendulab
