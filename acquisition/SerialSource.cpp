#include "acquisition/SerialSource.h"
#include "acquisition/SerialLink.h"
#include "acquisition/SerialSourceImpl.h"
#include "core/Text.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <limits>

namespace pendulab {
namespace {

constexpr qint32 kBaud = 250000;
constexpr std::chrono::milliseconds kAskAgain{500};  // "ID?" again while an Uno boots

}  // namespace

std::string openFailureMessage(const std::string& devicePath, int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return withArgs(translated("SerialSource",
                                   "Pendulab n'a pas le droit d'ouvrir le port série %1. Ajoutez votre compte au groupe "
                                   "« dialout » (sudo usermod -aG dialout $USER), puis fermez la session et rouvrez-la."),
                        {devicePath});
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return withArgs(translated("SerialSource", "Le port série %1 n'existe pas : la carte est-elle branchée ?"), {devicePath});
    case EBUSY:
        return withArgs(translated("SerialSource", "Le port série %1 est déjà ouvert par un autre programme (le moniteur "
                                                   "série de l'IDE Arduino ?). Fermez-le, puis réessayez."),
                        {devicePath});
    default:
        return withArgs(translated("SerialSource", "Impossible d'ouvrir le port série %1 (erreur système %2)."),
                        {devicePath, std::to_string(error)});
    }
}

SerialSource::Impl::Pump SerialSource::Impl::pump(int timeoutMs) {
    if (port->bytesAvailable() == 0 && !port->waitForReadyRead(timeoutMs)) {
        if (port->error() == QSerialPort::ResourceError || hungUp()) return Pump::Gone;
        port->clearError();
        return Pump::Timeout;
    }
    const QByteArray bytes = port->readAll();
    if (sniffing) {
        sniffer.feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), [this](std::string_view line) {
            if (heard.size() < 32) heard.emplace_back(line);
        });
    }
    parser.feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), events);
    return Pump::Data;
}

bool SerialSource::Impl::hungUp() const { return pendulab::hungUp(*port); }

void SerialSource::Impl::send(const std::string& line) {
    port->write(line.data(), static_cast<qint64>(line.size()));
    port->waitForBytesWritten(options.replyTimeoutMs);
    if (port->error() != QSerialPort::ResourceError) port->clearError();
}

void SerialSource::Impl::drain(int quietMs) {
    const auto start = Clock::now();
    while (msSince(start) < 10LL * quietMs && port->waitForReadyRead(quietMs)) port->readAll();
    if (port->error() != QSerialPort::ResourceError) port->clearError();
    port->readAll();
    parser.expectNothing();
    events.clear();
}

void SerialSource::Impl::beginRequest() {
    port->readAll();
    events.clear();
}

void SerialSource::Impl::fail(std::string message) {
    if (port->error() != QSerialPort::ResourceError) {
        send("STOP\n");
        drain(100);
    }
    throw SourceError(message);
}

void SerialSource::Impl::openPort() {
    port = openSerialPort(path, kBaud, options.injectedOpenErrno);
    identify();
}

void SerialSource::Impl::identify() {
    parser.expectIdentity();
    events.clear();
    const RaisedWhile sniffingNow(sniffing);
    const auto start = Clock::now();
    auto asked = start - kAskAgain;
    std::string refusal;
    while (msSince(start) < options.identifyTimeoutMs) {
        if (Clock::now() - asked >= kAskAgain) {
            // STOP first: a board left recording by an earlier session listens to nothing else.
            send("STOP\nID?\n");
            asked = Clock::now();
        }
        const Pump got = pump(kPollMs);
        if (got == Pump::Gone) throw SourceError(withArgs(
            translated("SerialSource", "Le port série %1 s'est fermé pendant que Pendulab cherchait la carte."), {path}));
        for (const board::Event& e : events) {
            if (e.kind == board::Event::Kind::Identity) {
                identity = e.identity;
                drain(50);
                return;
            }
            if (e.kind == board::Event::Kind::Fault) throw SourceError(e.text);
            if (e.kind == board::Event::Kind::Error) {
                refusal = e.text;  // e.g. a command half eaten while the board booted: ask again
                parser.expectIdentity();
                asked = start - kAskAgain;
            }
        }
        events.clear();
    }
    std::string message = withArgs(translated("SerialSource", "Aucune carte Pendulab ne répond sur %1 (attendue %2 s). "
                                                              "Vérifiez que le programme pendulab-board est chargé dans la carte."),
                                   {path, std::to_string((options.identifyTimeoutMs + 500) / 1000)});
    if (!refusal.empty()) message += withArgs(translated("SerialSource", " Dernière réponse : « ERR %1 »."), {refusal});
    listenForLines(message);
    throw SourceError(message);
}

void SerialSource::Impl::listenForLines(const std::string& noBoard) {
    if (const auto guess = textline::guessFormat(heard)) throw LinesInsteadOfBoard(noBoard, kBaud, *guess);
    if (options.lineBaud <= 0 || options.lineBaud == kBaud) return;
    port->setBaudRate(options.lineBaud);
    port->clearError();
    port->clear();
    heard.clear();
    sniffer.clear();
    const auto start = Clock::now();
    while (msSince(start) < options.lineListenMs && heard.size() < 8) {
        if (pump(kPollMs) == Pump::Gone) return;
        events.clear();
    }
    // The first line may have been cut when listening began.
    if (!heard.empty()) heard.erase(heard.begin());
    if (const auto guess = textline::guessFormat(heard)) throw LinesInsteadOfBoard(noBoard, options.lineBaud, *guess);
}

std::optional<double> SerialSource::Impl::readOnPort() {
    beginRequest();
    parser.expectReading(identity);
    send("READ\n");
    const auto start = Clock::now();
    while (msSince(start) < options.replyTimeoutMs) {
        const Pump got = pump(kPollMs);
        if (got == Pump::Gone) {
            present = false;
            return std::nullopt;
        }
        for (const board::Event& e : events) {
            if (e.kind == board::Event::Kind::Reading) {
                parser.expectNothing();
                return identity.volts(e.code);
            }
            drain(50);  // an error or a fault: no reading now
            return std::nullopt;
        }
    }
    return std::nullopt;
}

SerialSource::SerialSource(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
SerialSource::~SerialSource() = default;

std::unique_ptr<SerialSource> SerialSource::open(const std::string& devicePath, const SerialOptions& options) {
    auto impl = std::make_unique<Impl>(devicePath, options);
    Impl* p = impl.get();
    p->thread.call([p] { p->openPort(); });
    return std::unique_ptr<SerialSource>(new SerialSource(std::move(impl)));
}

std::string SerialSource::name() const { return withArgs(translated("SerialSource", "Carte Pendulab (%1)"), {impl_->path}); }
bool SerialSource::present() const { return impl_->present; }
double SerialSource::metresPerVolt() const { return impl_->metresPerVolt; }
void SerialSource::setMetresPerVolt(double metresPerVolt) { impl_->metresPerVolt = metresPerVolt; }
double SerialSource::minVolts() const { return 0.0; }
double SerialSource::maxVolts() const { return impl_->identity.vrefMillivolts / 1000.0; }
const std::string& SerialSource::devicePath() const { return impl_->path; }
const board::Identity& SerialSource::identity() const { return impl_->identity; }

void SerialSource::stop() { impl_->stopRequested = true; }

std::optional<double> SerialSource::readLive() {
    Impl* p = impl_.get();
    if (p->recording || !p->present) return std::nullopt;
    return p->thread.call([p] { return p->readOnPort(); });
}

std::size_t SerialSource::record(std::size_t count, std::int64_t periodMicroseconds, const BlockSink& sink) {
    constexpr auto kMax = std::numeric_limits<std::uint32_t>::max();
    if (count == 0) return 0;
    if (count > kMax || periodMicroseconds < 1 || periodMicroseconds > kMax) {
        throw SourceError(withArgs(translated("SerialSource", "La carte ne sait pas faire cette mesure : %1 échantillons, "
                                                              "un toutes les %2 µs."),
                                   {Impl::n(count), std::to_string(periodMicroseconds)}));
    }
    if (!impl_->present) throw SourceError(withArgs(translated("SerialSource", "La carte Pendulab (%1) a été débranchée."), {impl_->path}));
    Impl* p = impl_.get();
    p->stopRequested = false;
    const RaisedWhile recording(p->recording);
    // The port thread records; this thread hands the blocks to the sink.
    return p->thread.stream(
        [p, count, periodMicroseconds](const PortThread::Deliver& deliver) {
            return p->recordOnPort(static_cast<std::uint32_t>(count), static_cast<std::uint32_t>(periodMicroseconds), deliver);
        },
        sink, [p] { p->stopRequested = true; });
}

std::vector<std::string> serialPortCandidates(const std::string& deviceFolder) {
    struct Port {
        std::string prefix;
        std::size_t number;
        std::string path;
    };
    std::vector<Port> found;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(deviceFolder, ec)) {
        const std::string name = entry.path().filename().string();
        for (const std::string prefix : {"ttyACM", "ttyUSB"}) {
            const std::string digits = name.substr(std::min(prefix.size(), name.size()));
            if (name.compare(0, prefix.size(), prefix) == 0 && !digits.empty() && digits.size() < 9 &&
                std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
                found.push_back({prefix, std::stoul(digits), entry.path().string()});
            }
        }
    }
    // ttyACM2 before ttyACM10.
    std::sort(found.begin(), found.end(), [](const Port& a, const Port& b) {
        return a.prefix != b.prefix ? a.prefix < b.prefix : a.number < b.number;
    });
    std::vector<std::string> paths;
    for (Port& f : found) paths.push_back(std::move(f.path));
    return paths;
}

std::vector<BoardFound> probeBoards(const std::vector<std::string>& paths, const SerialOptions& options) {
    std::vector<BoardFound> boards;
    for (const std::string& path : paths) {
        try {
            auto source = SerialSource::open(path, options);
            boards.push_back({path, source->identity()});
        } catch (const SourceError&) {
            // not a board, or not ours to open: left out
        }
    }
    return boards;
}

PortsFound probePorts(const std::vector<std::string>& paths, const SerialOptions& options) {
    PortsFound found;
    for (const std::string& path : paths) {
        try {
            auto source = SerialSource::open(path, options);
            found.boards.push_back({path, source->identity()});
        } catch (const LinesInsteadOfBoard& lines) {
            found.lineDevices.push_back({path, lines.baud(), lines.guess()});
        } catch (const SourceError&) {
            // not a board, or not ours to open: left out
        }
    }
    return found;
}

std::vector<BoardFound> probeBoards(const SerialOptions& options) {
    return probeBoards(serialPortCandidates(), options);
}

}  // namespace pendulab