#pragma once
// The card driver library ("SysamPCI.dll", real or our virtual card) as a sample source: binding,
// start-up, timer setting, channel table, state codes and code-to-volts all live here.
#include <array>
#include <atomic>
#include <functional>
#include <string>

#include "acquisition/SampleSource.h"
#include "core/SharedState.h"

namespace pendulab {

class CardSource : public SampleSource {
public:
    using MessageSink = std::function<void(const std::string&)>;
    // `folder`: where the driver library is looked for first (ending with '/'; the program's own
    // folder when empty). `show` receives the messages the user must read.
    CardSource(std::string folder, MessageSink show);

    // Finds, binds and starts the card: false, with the reason already shown, when it cannot record.
    bool startUp();

    std::string name() const override;
    bool present() const override { return present_; }
    // True once the driver library is bound (the card itself may still be absent).
    bool bound() const { return bound_; }
    double metresPerVolt() const override { return 0.005; }
    double minVolts() const override { return -10.0; }
    double maxVolts() const override { return 10.0; }
    std::size_t record(std::size_t count, std::int64_t periodMicroseconds, const BlockSink& sink) override;
    std::string cannotRecord(std::size_t count, std::int64_t periodMicroseconds) const override;
    // Also wakes the driver's wait for the next sample when the driver can (our virtual card), so
    // that a run ends at once however far apart its samples are.
    void stop() override;
    std::optional<double> readLive() override;
    // The bench of our virtual card (none for the real card's driver). Its "hidden" flag is the
    // program's: the card never sees it and reports it false.
    std::optional<BenchSettings> bench() const override;
    bool setBench(const BenchSettings& settings) override;
    std::optional<BenchSettings> recordedBench() const override { return recordedBench_; }

    // The card's timer setting for a sample period: period − 90 µs; empty when it does not fit.
    static std::optional<std::int32_t> timerSetting(std::int64_t periodMicroseconds);

private:
    std::string folder_;
    MessageSink show_;
    bool present_ = false;
    bool bound_ = false;
    bool simulated_ = false;
    std::array<std::uint8_t, 3> channelTable_{};
    std::array<std::int16_t, RawSampleRoom> raw_{}; // table handed to the driver
    std::atomic<bool> stop_{false};
    std::optional<BenchSettings> recordedBench_; // written by record(), read once it returned
};

} // namespace pendulab
