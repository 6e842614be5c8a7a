#pragma once
// Inside a SerialSource: what it shares with its callers, what its port thread holds, and the
// exchanges made with the board on that thread. SerialSource.cpp opens the port, identifies the
// board and reads it live; SerialRun.cpp records a run.
#include <QSerialPort>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/BoardProtocol.h"
#include "acquisition/PortThread.h"
#include "acquisition/SerialSource.h"

namespace pendulab {

struct SerialSource::Impl {
    Impl(std::string devicePath, SerialOptions opts) : path(std::move(devicePath)), options(opts) {}

    using Clock = std::chrono::steady_clock;
    using Millis = std::chrono::milliseconds;
    static constexpr int kPollMs = 20;  // how often a run looks at stop()
    static long long msSince(Clock::time_point since) {
        return std::chrono::duration_cast<Millis>(Clock::now() - since).count();
    }
    static std::string n(std::size_t value) { return std::to_string(value); }

    // ---- shared with the callers' threads ----
    const std::string path;
    const SerialOptions options;
    board::Identity identity{};  // written once, before the source is handed out
    std::atomic<double> metresPerVolt{0.02};  // a 10 cm linear potentiometer across 0-5 V
    std::atomic<bool> present{true};
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> recording{false};

    // ---- used on the port thread only ----
    std::unique_ptr<QSerialPort> port;
    board::Parser parser;
    std::vector<board::Event> events;
    // While the board is looked for: the lines heard, in case they are a sketch's numbers.
    bool sniffing = false;
    textline::LineSplitter sniffer;
    std::vector<std::string> heard;

    // Last, so destroyed first: it ends the thread, which closes the port, while the rest still is.
    PortThread thread{[this] { port.reset(); }};

    // ---- port thread ----
    enum class Pump { Data, Timeout, Gone };
    // Waits up to `timeoutMs` for bytes and parses them into `events`.
    Pump pump(int timeoutMs);
    bool hungUp() const;
    void send(const std::string& line);
    // Reads and drops whatever comes until the board has been silent `quietMs`.
    void drain(int quietMs);
    // Starts a request from a clean slate: bytes left from an earlier exchange are dropped.
    void beginRequest();
    // After a fault: asks the board to stop whatever it does and forgets what it sent.
    // (The message is a copy: it may come from `events`, which draining clears.)
    [[noreturn]] void fail(std::string message);

    void openPort();
    void identify();
    // After the board's silence: lines of numbers at the line baud make a LinesInsteadOfBoard.
    void listenForLines(const std::string& noBoard);
    std::optional<double> readOnPort();
    std::size_t recordOnPort(std::uint32_t count, std::uint32_t period, const PortThread::Deliver& deliver);

    struct Run;
};

}  // namespace pendulab
