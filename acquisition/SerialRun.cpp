// A run on the port thread: "RUN count period_us" out; its echo, the samples and END in; STOP out
// when the caller asks; the samples handed on in blocks as they come.
#include "acquisition/SerialSourceImpl.h"
#include "core/Text.h"

namespace pendulab {
namespace {

constexpr std::size_t kBlockSamples = 20;            // a block every 20 samples...
constexpr std::chrono::milliseconds kBlockAge{20};  // ...or every 20 ms, whichever comes first

}  // namespace

struct SerialSource::Impl::Run {
    Run(Impl& impl, std::uint32_t samples, std::uint32_t periodMicroseconds, const PortThread::Deliver& to)
        : link(impl), count(samples), period(periodMicroseconds), deliver(to),
          silenceMs(impl.options.silenceTimeoutMs + periodMicroseconds / 1000) {}

    std::size_t record();
    void stopIfAsked();
    void watch(Pump got);
    bool take(const board::Event& e);
    void flush();

    Impl& link;
    const std::uint32_t count;
    const std::uint32_t period;
    const PortThread::Deliver& deliver;
    const long long silenceMs;  // the longest silence once the run goes on
    Clock::time_point start{};
    Clock::time_point lastData{};
    Clock::time_point lastFlush{};
    Clock::time_point stopSentAt{};
    bool echoed = false;
    bool stopSent = false;
    std::size_t received = 0;
    std::size_t first = 0;  // the index of pending[0]
    std::vector<double> pending;
};

std::size_t SerialSource::Impl::recordOnPort(std::uint32_t count, std::uint32_t period, const PortThread::Deliver& deliver) {
    return Run(*this, count, period, deliver).record();
}

std::size_t SerialSource::Impl::Run::record() {
    link.beginRequest();
    link.parser.expectRun(link.identity, count, period);
    link.send("RUN " + n(count) + " " + n(period) + "\n");
    start = lastData = lastFlush = stopSentAt = Clock::now();
    for (;;) {
        stopIfAsked();
        watch(link.pump(kPollMs));
        for (const board::Event& e : link.events) {
            if (take(e)) return received;
        }
        link.events.clear();
        if (pending.size() >= kBlockSamples || Clock::now() - lastFlush >= kBlockAge) flush();
    }
}

void SerialSource::Impl::Run::stopIfAsked() {
    if (link.stopRequested && !stopSent) {
        link.send("STOP\n");
        stopSent = true;
        stopSentAt = Clock::now();
    }
}

// What the wait brought: bytes, or a silence that is a fault once it lasts, or the board gone.
void SerialSource::Impl::Run::watch(Pump got) {
    if (got == Pump::Gone) {
        flush();
        link.present = false;
        throw SourceError(withArgs(translated("SerialSource", "La carte a été débranchée pendant la mesure : "
                                                              "%1 échantillons reçus sur %2."),
                                   {n(received), n(count)}));
    }
    if (got == Pump::Data) {
        lastData = Clock::now();
    } else if (!echoed && msSince(start) > link.options.replyTimeoutMs) {
        link.fail(translated("SerialSource", "La carte ne répond pas à la demande de mesure (RUN)."));
    } else if (stopSent && msSince(stopSentAt) > link.options.replyTimeoutMs) {
        flush();
        link.fail(withArgs(translated("SerialSource", "La carte n'a pas confirmé l'arrêt de la mesure, après %1 échantillons reçus."),
                           {n(received)}));
    } else if (echoed && msSince(lastData) > silenceMs) {
        flush();
        link.parser.finish(link.events);
        if (!link.events.empty() && link.events.back().kind == board::Event::Kind::Fault) link.fail(link.events.back().text);
        link.fail(withArgs(translated("SerialSource", "La carte ne répond plus : %1 échantillons reçus sur %2."), {n(received), n(count)}));
    }
}

// One event of the run; true at its END, which clears the events.
bool SerialSource::Impl::Run::take(const board::Event& e) {
    switch (e.kind) {
    case board::Event::Kind::Sample:
        pending.push_back(link.identity.volts(e.code));
        ++received;
        return false;
    case board::Event::Kind::RunEcho:
        echoed = true;
        return false;
    case board::Event::Kind::End:
        flush();
        link.parser.expectNothing();
        link.events.clear();
        if (received < count && !stopSent) {
            link.fail(withArgs(translated("SerialSource", "La carte a terminé la mesure après %1 échantillons sur %2."),
                               {n(received), n(count)}));
        }
        return true;
    case board::Event::Kind::Error:
        flush();
        if (!echoed) link.fail(withArgs(translated("SerialSource", "La carte refuse la mesure : %1"), {e.text}));
        link.fail(withArgs(translated("SerialSource", "La carte a interrompu la mesure après %1 échantillons : %2"), {n(received), e.text}));
    case board::Event::Kind::Fault:
        flush();
        link.fail(e.text);
    case board::Event::Kind::Identity:
    case board::Event::Kind::Reading:
        link.fail(translated("SerialSource", "Réponse inattendue de la carte pendant la mesure."));
    }
    return false;
}

void SerialSource::Impl::Run::flush() {
    if (pending.empty()) return;
    const std::size_t size = pending.size();
    deliver(first, std::move(pending));
    first += size;
    pending.clear();
    lastFlush = Clock::now();
}

}  // namespace pendulab
