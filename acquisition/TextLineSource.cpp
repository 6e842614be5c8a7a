#include "acquisition/TextLineSource.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <vector>

#include "acquisition/PortThread.h"
#include "acquisition/SerialLink.h"
#include "core/Text.h"

namespace pendulab {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPollMs = 20;                       // how often a run looks at stop()
constexpr std::size_t kBlockSamples = 20;         // a block every 20 samples...
constexpr std::chrono::milliseconds kBlockAge{20}; // ...or every 20 ms
constexpr auto kLiveAge = std::chrono::seconds(1); // a live value older than this is no reading

double secondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}
std::string n(std::size_t value) { return std::to_string(value); }

bool blankLine(std::string_view line)
{
    for (char c : line)
        if (c != ' ' && c != '\t' && c != '\r') return false;
    return true;
}

} // namespace

struct TextLineSource::Impl {
    Impl(std::string devicePath, const textline::Format& f, const TextLineOptions& o)
        : path(std::move(devicePath)), format(f), options(o) {}

    // ---- shared with the callers' threads ----
    const std::string path;
    const textline::Format format;
    const TextLineOptions options;
    std::atomic<bool> present{true};
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> recording{false};

    // ---- port thread ----
    std::unique_ptr<QSerialPort> port;
    textline::LineSplitter splitter;
    std::optional<double> lastValue;
    Clock::time_point lastValueAt{};

    PortThread thread{[this] { port.reset(); }}; // last: ends first, closing the port on its thread

    enum class Pump { Data, Timeout, Gone };
    Pump pump(int timeoutMs, QByteArray& bytes)
    {
        if (port->bytesAvailable() == 0 && !port->waitForReadyRead(timeoutMs)) {
            if (port->error() == QSerialPort::ResourceError || hungUp(*port)) return Pump::Gone;
            port->clearError();
            return Pump::Timeout;
        }
        bytes = port->readAll();
        return Pump::Data;
    }

    std::optional<double> readOnPort();
    TimedEnd recordOnPort(const PortThread::Deliver& deliver);
    struct Run;
};

// A run on the port thread. Blocks go out as pairs (instant, value) in one array.
struct TextLineSource::Impl::Run {
    Run(Impl& impl, const PortThread::Deliver& to) : link(impl), deliver(to) {}

    TimedEnd record();
    void lines(std::string_view bytes, Clock::time_point arrival);
    bool take(const textline::Reading& r, double arrivalSeconds);
    void flush();
    [[noreturn]] void unplugged();
    [[noreturn]] void silent();

    Impl& link;
    const PortThread::Deliver& deliver;
    const double tick = textline::secondsPerTick(link.format.timeUnit);
    Clock::time_point start{}, lastSample{}, lastFlush{};
    bool dropNext = true;   // the first line may have been cut by the discard
    bool gotLine = false;
    double lastArrival = -1.0; // seconds from the start of the last arrival that brought samples
    std::string lastSkipped;   // the beginning of the last line that was no reading
    std::optional<double> firstTime; // the sketch's time of the run's first sample, in its unit
    double previous = -std::numeric_limits<double>::infinity();
    std::size_t received = 0, skipped = 0, first = 0;
    std::optional<std::string> cut;
    std::vector<double> pending;               // instant, value, instant, value...
    std::vector<textline::Reading> chunk;      // the lines of one arrival
};

TextLineSource::TimedEnd TextLineSource::Impl::recordOnPort(const PortThread::Deliver& deliver)
{
    return Run(*this, deliver).record();
}

TextLineSource::TimedEnd TextLineSource::Impl::Run::record()
{
    // Bytes already received are no part of the run: the driver's buffers, then Qt's.
    link.port->clear(QSerialPort::Input);
    link.port->readAll();
    link.splitter.clear();
    start = lastSample = lastFlush = Clock::now();
    QByteArray bytes;
    while (!link.stopRequested && !cut) {
        const Pump got = link.pump(kPollMs, bytes);
        if (got == Pump::Gone) unplugged();
        const auto now = Clock::now();
        if (got == Pump::Data) lines(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), now);
        const int silenceMs = received > 0 ? link.options.silenceTimeoutMs : link.options.firstLineTimeoutMs;
        if (now - lastSample > std::chrono::milliseconds(silenceMs)) silent();
        if (pending.size() >= 2 * kBlockSamples || now - lastFlush >= kBlockAge) flush();
    }
    flush();
    TimedEnd end;
    end.cut = cut.has_value();
    if (cut) end.notice = *cut;
    if (skipped > 0) {
        if (!end.notice.empty()) end.notice += "\n";
        end.notice += withArgs(translated("TextLineSource", "%1 lignes qui n'étaient pas des nombres ont été ignorées."), {n(skipped)});
    }
    return end;
}

// The lines of one arrival; without a time column they share the time since the previous
// arrival evenly (the link's buffering gathers them).
void TextLineSource::Impl::Run::lines(std::string_view bytes, Clock::time_point arrival)
{
    chunk.clear();
    link.splitter.feed(bytes, [this](std::string_view line) {
        if (blankLine(line)) return;
        gotLine = true;
        if (dropNext) {
            dropNext = false;
            return;
        }
        if (const auto r = textline::parseLine(line, link.format)) {
            chunk.push_back(*r);
        } else {
            ++skipped;
            lastSkipped = std::string(line.substr(0, 40));
        }
    });
    if (chunk.empty()) return;
    lastSample = arrival;
    const double now = secondsBetween(start, arrival);
    const double from = lastArrival >= 0.0 ? lastArrival : now - kPollMs / 1000.0;
    lastArrival = now;
    for (std::size_t k = 0; k < chunk.size(); ++k) {
        const double at = from + (now - from) * static_cast<double>(k + 1) / static_cast<double>(chunk.size());
        if (!take(chunk[k], at)) break;
    }
}

// One sample; false when its time ends the run.
bool TextLineSource::Impl::Run::take(const textline::Reading& r, double arrivalSeconds)
{
    double t = 0.0;
    if (tick > 0.0) {
        if (!firstTime) firstTime = r.time;
        t = (r.time - *firstTime) * tick;
    } else {
        if (!firstTime) firstTime = arrivalSeconds;
        t = arrivalSeconds - *firstTime;
    }
    if (received > 0 && !(t > previous)) {
        cut = withArgs(translated("TextLineSource", "Le temps envoyé par l'appareil %1 (%2 s après %3 s) : la mesure "
                                                    "s'arrête là, les %4 échantillons reçus avant sont gardés."),
                       {t == previous ? translated("TextLineSource", "se répète") : translated("TextLineSource", "revient en arrière"),
                        std::to_string(t), std::to_string(previous), n(received)});
        return false;
    }
    previous = t;
    pending.push_back(t);
    pending.push_back(r.value);
    ++received;
    return true;
}

void TextLineSource::Impl::Run::flush()
{
    lastFlush = Clock::now();
    if (pending.empty()) return;
    const std::size_t pairs = pending.size() / 2;
    deliver(first, std::move(pending));
    first += pairs;
    pending.clear();
}

void TextLineSource::Impl::Run::unplugged()
{
    flush();
    link.present = false;
    throw SourceError(withArgs(translated("TextLineSource", "L'appareil a été débranché pendant la mesure : %1 échantillons reçus."),
                               {n(received)}));
}

void TextLineSource::Impl::Run::silent()
{
    flush();
    if (received == 0 && skipped > 0)
        throw SourceError(withArgs(translated("TextLineSource", "Les lignes de l'appareil ne donnent pas de nombres dans les "
                                                                "colonnes choisies (dernière ligne : « %1 »). Vérifiez le "
                                                                "séparateur et les colonnes."),
                                   {lastSkipped}));
    if (!gotLine)
        throw SourceError(withArgs(translated("TextLineSource", "L'appareil sur %1 n'envoie aucune ligne : le programme de la "
                                                                "carte tourne-t-il, à %2 bauds ?"),
                                   {link.path, std::to_string(link.format.baud)}));
    throw SourceError(withArgs(translated("TextLineSource", "L'appareil ne répond plus : %1 échantillons reçus."), {n(received)}));
}

std::optional<double> TextLineSource::Impl::readOnPort()
{
    QByteArray bytes;
    for (int pass = 0; pass < 8; ++pass) { // what has come since the last look, a few ms at most
        const Pump got = pump(pass == 0 ? 5 : 1, bytes);
        if (got == Pump::Gone) {
            present = false;
            return std::nullopt;
        }
        if (got == Pump::Timeout) break;
        splitter.feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), [this](std::string_view line) {
            if (const auto r = textline::parseLine(line, format)) {
                lastValue = r->value;
                lastValueAt = Clock::now();
            }
        });
    }
    if (!lastValue || Clock::now() - lastValueAt > kLiveAge) return std::nullopt;
    return lastValue;
}

TextLineSource::TextLineSource(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
TextLineSource::~TextLineSource() = default;

std::unique_ptr<TextLineSource> TextLineSource::open(const std::string& devicePath, const textline::Format& format,
                                                     const TextLineOptions& options)
{
    if (const std::string why = textline::refusalOf(format); !why.empty()) throw SourceError(why);
    auto impl = std::make_unique<Impl>(devicePath, format, options);
    Impl* p = impl.get();
    p->thread.call([p] { p->port = openSerialPort(p->path, p->format.baud, p->options.injectedOpenErrno); });
    return std::unique_ptr<TextLineSource>(new TextLineSource(std::move(impl)));
}

std::string TextLineSource::name() const
{
    return withArgs(translated("TextLineSource", "Arduino %1 bauds (lignes de texte)"), {std::to_string(impl_->format.baud)});
}
bool TextLineSource::present() const { return impl_->present; }
double TextLineSource::metresPerVolt() const { return impl_->format.metresPerUnit; }
double TextLineSource::minVolts() const { return 0.0; }
// The gauge's top: a 5 V converter's range in its unit, or an Uno's raw 10-bit code.
double TextLineSource::maxVolts() const
{
    const std::string& u = impl_->format.unit;
    return u == "V" ? 5.0 : u == "mV" ? 5000.0 : 1023.0;
}
std::string TextLineSource::sampleUnit() const { return impl_->format.unit; }
const std::string& TextLineSource::devicePath() const { return impl_->path; }
const textline::Format& TextLineSource::format() const { return impl_->format; }
void TextLineSource::stop() { impl_->stopRequested = true; }

std::size_t TextLineSource::record(std::size_t, std::int64_t, const BlockSink&)
{
    throw SourceError(translated("TextLineSource", "Cet appareil mesure à ses propres instants."));
}

std::optional<double> TextLineSource::readLive()
{
    Impl* p = impl_.get();
    if (p->recording || !p->present) return std::nullopt;
    return p->thread.call([p] { return p->readOnPort(); });
}

SampleSource::TimedEnd TextLineSource::recordTimed(const TimedSink& sink)
{
    Impl* p = impl_.get();
    if (!p->present) throw SourceError(withArgs(translated("TextLineSource", "L'appareil sur %1 a été débranché."), {p->path}));
    p->stopRequested = false;
    const RaisedWhile recording(p->recording);
    TimedEnd end;
    std::vector<double> instants, values;
    p->thread.stream(
        [p, &end](const PortThread::Deliver& deliver) {
            end = p->recordOnPort(deliver);
            return std::size_t{0};
        },
        [&](std::size_t, std::span<const double> pairs) {
            instants.clear();
            values.clear();
            for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
                instants.push_back(pairs[i]);
                values.push_back(pairs[i + 1]);
            }
            sink(instants, values);
        },
        [p] { p->stopRequested = true; });
    return end;
}

} // namespace pendulab
