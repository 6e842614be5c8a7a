#include "acquisition/SerialSource.h"
#include "core/Text.h"

#include <QSerialPort>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <filesystem>
#include <functional>
#include <future>
#include <limits>
#include <mutex>
#include <poll.h>
#include <unistd.h>

namespace pendulab {
namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::milliseconds;

constexpr qint32 kBaud = 250000;
constexpr std::size_t kBlockSamples = 20;  // a block every 20 samples...
constexpr Millis kBlockAge{20};            // ...or every 20 ms, whichever comes first
constexpr int kPollMs = 20;                // how often a run looks at stop()
constexpr Millis kAskAgain{500};           // "ID?" again while an Uno boots

long long msSince(Clock::time_point since) {
    return std::chrono::duration_cast<Millis>(Clock::now() - since).count();
}

std::string n(std::size_t value) { return std::to_string(value); }

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

struct SerialSource::Impl {
    Impl(std::string devicePath, SerialOptions opts) : path(std::move(devicePath)), options(opts) {}
    ~Impl() { shutDown(); }

    // ---- shared with the callers' threads ----
    const std::string path;
    const SerialOptions options;
    board::Identity identity{};  // written once, before the source is handed out
    std::atomic<double> metresPerVolt{0.02};  // a 10 cm linear potentiometer across 0-5 V
    std::atomic<bool> present{true};
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> recording{false};

    // ---- the port thread and its queue of tasks ----
    QThread* thread = nullptr;
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> tasks;
    bool quitting = false;

    // ---- used on the port thread only ----
    std::unique_ptr<QSerialPort> port;
    board::Parser parser;
    std::vector<board::Event> events;

    void start() {
        thread = QThread::create([this] { threadMain(); });
        thread->start();
    }

    void shutDown() {
        if (thread == nullptr) return;
        {
            std::lock_guard lock(mutex);
            quitting = true;
        }
        wake.notify_all();
        thread->wait();
        delete thread;
        thread = nullptr;
    }

    void threadMain() {
        for (;;) {
            std::function<void()> task;
            {
                std::unique_lock lock(mutex);
                wake.wait(lock, [this] { return quitting || !tasks.empty(); });
                if (tasks.empty()) break;
                task = std::move(tasks.front());
                tasks.pop_front();
            }
            task();
        }
        port.reset();  // closed on the thread that opened it
    }

    // Runs `f` on the port thread and waits for it; its exception comes back to the caller.
    template <class F>
    auto call(F f) -> decltype(f()) {
        std::packaged_task<decltype(f())()> task(std::move(f));
        auto result = task.get_future();
        {
            std::lock_guard lock(mutex);
            tasks.emplace_back([&task] { task(); });
        }
        wake.notify_all();
        return result.get();
    }

    // ---- port thread ----
    enum class Pump { Data, Timeout, Gone };

    // Waits up to `timeoutMs` for bytes and parses them into `events`.
    Pump pump(int timeoutMs) {
        if (port->bytesAvailable() == 0 && !port->waitForReadyRead(timeoutMs)) {
            if (port->error() == QSerialPort::ResourceError || hungUp()) return Pump::Gone;
            port->clearError();
            return Pump::Timeout;
        }
        const QByteArray bytes = port->readAll();
        parser.feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), events);
        return Pump::Data;
    }

    // An unplugged USB board, or a pseudo-terminal whose other end closed, hangs the port up; Qt's
    // wait does not always say so.
    bool hungUp() const {
        pollfd p{static_cast<int>(port->handle()), POLLIN, 0};
        return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    }

    void send(const std::string& line) {
        port->write(line.data(), static_cast<qint64>(line.size()));
        port->waitForBytesWritten(options.replyTimeoutMs);
        if (port->error() != QSerialPort::ResourceError) port->clearError();
    }

    // Reads and drops whatever comes until the board has been silent `quietMs`.
    void drain(int quietMs) {
        const auto start = Clock::now();
        while (msSince(start) < 10LL * quietMs && port->waitForReadyRead(quietMs)) port->readAll();
        if (port->error() != QSerialPort::ResourceError) port->clearError();
        port->readAll();
        parser.expectNothing();
        events.clear();
    }

    // Starts a request from a clean slate: bytes left from an earlier exchange are dropped.
    void beginRequest() {
        port->readAll();
        events.clear();
    }

    // After a fault: asks the board to stop whatever it does and forgets what it sent.
    // (The message is a copy: it may come from `events`, which draining clears.)
    [[noreturn]] void fail(std::string message) {
        if (port->error() != QSerialPort::ResourceError) {
            send("STOP\n");
            drain(100);
        }
        throw SourceError(message);
    }

    void openPort() {
        if (options.injectedOpenErrno != 0) throw SourceError(openFailureMessage(path, options.injectedOpenErrno));
        port = std::make_unique<QSerialPort>();
        port->setPortName(QString::fromStdString(path));
        if (!port->open(QIODevice::ReadWrite)) {
            const auto error = port->error();
            const std::string detail = port->errorString().toStdString();
            port.reset();
            int code = EIO;
            if (error == QSerialPort::DeviceNotFoundError) {
                code = ENOENT;
            } else if (error == QSerialPort::PermissionError) {
                // Qt says "permission" both for a refused access and for a port another program holds.
                code = (::access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES) ? EACCES : EBUSY;
            }
            std::string message = openFailureMessage(path, code);
            if (code == EIO) message += " " + detail;
            throw SourceError(message);
        }
        // A pseudo-terminal, or a USB bridge, may refuse some of these: it still carries the bytes.
        port->setBaudRate(kBaud);
        port->setDataBits(QSerialPort::Data8);
        port->setParity(QSerialPort::NoParity);
        port->setStopBits(QSerialPort::OneStop);
        port->setFlowControl(QSerialPort::NoFlowControl);
        port->clearError();
        port->clear();
        identify();
    }

    void identify() {
        parser.expectIdentity();
        events.clear();
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
        throw SourceError(message);
    }

    std::optional<double> readOnPort() {
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

    using Deliver = std::function<void(std::size_t first, std::vector<double>&& block)>;

    std::size_t recordOnPort(std::uint32_t count, std::uint32_t period, const Deliver& deliver) {
        beginRequest();
        parser.expectRun(identity, count, period);
        send("RUN " + n(count) + " " + n(period) + "\n");

        const auto start = Clock::now();
        auto lastData = start;
        auto lastFlush = start;
        auto stopSentAt = start;
        bool echoed = false;
        bool stopSent = false;
        std::size_t received = 0;
        std::size_t first = 0;
        std::vector<double> pending;
        const auto flush = [&] {
            if (pending.empty()) return;
            const std::size_t size = pending.size();
            deliver(first, std::move(pending));
            first += size;
            pending.clear();
            lastFlush = Clock::now();
        };
        const long long silenceMs = options.silenceTimeoutMs + period / 1000;

        for (;;) {
            if (stopRequested && !stopSent) {
                send("STOP\n");
                stopSent = true;
                stopSentAt = Clock::now();
            }
            const Pump got = pump(kPollMs);
            if (got == Pump::Gone) {
                flush();
                present = false;
                throw SourceError(withArgs(translated("SerialSource", "La carte a été débranchée pendant la mesure : "
                                                                      "%1 échantillons reçus sur %2."),
                                           {n(received), n(count)}));
            }
            if (got == Pump::Data) {
                lastData = Clock::now();
            } else if (!echoed && msSince(start) > options.replyTimeoutMs) {
                fail(translated("SerialSource", "La carte ne répond pas à la demande de mesure (RUN)."));
            } else if (stopSent && msSince(stopSentAt) > options.replyTimeoutMs) {
                flush();
                fail(withArgs(translated("SerialSource", "La carte n'a pas confirmé l'arrêt de la mesure, après %1 échantillons reçus."),
                              {n(received)}));
            } else if (echoed && msSince(lastData) > silenceMs) {
                flush();
                parser.finish(events);
                if (!events.empty() && events.back().kind == board::Event::Kind::Fault) fail(events.back().text);
                fail(withArgs(translated("SerialSource", "La carte ne répond plus : %1 échantillons reçus sur %2."), {n(received), n(count)}));
            }

            for (const board::Event& e : events) {
                switch (e.kind) {
                case board::Event::Kind::Sample:
                    pending.push_back(identity.volts(e.code));
                    ++received;
                    break;
                case board::Event::Kind::RunEcho:
                    echoed = true;
                    break;
                case board::Event::Kind::End:
                    flush();
                    parser.expectNothing();
                    events.clear();
                    if (received < count && !stopSent) {
                        fail(withArgs(translated("SerialSource", "La carte a terminé la mesure après %1 échantillons sur %2."),
                                      {n(received), n(count)}));
                    }
                    return received;
                case board::Event::Kind::Error:
                    flush();
                    if (!echoed) fail(withArgs(translated("SerialSource", "La carte refuse la mesure : %1"), {e.text}));
                    fail(withArgs(translated("SerialSource", "La carte a interrompu la mesure après %1 échantillons : %2"), {n(received), e.text}));
                case board::Event::Kind::Fault:
                    flush();
                    fail(e.text);
                case board::Event::Kind::Identity:
                case board::Event::Kind::Reading:
                    fail(translated("SerialSource", "Réponse inattendue de la carte pendant la mesure."));
                }
            }
            events.clear();
            if (pending.size() >= kBlockSamples || Clock::now() - lastFlush >= kBlockAge) flush();
        }
    }
};

SerialSource::SerialSource(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
SerialSource::~SerialSource() = default;

std::unique_ptr<SerialSource> SerialSource::open(const std::string& devicePath, const SerialOptions& options) {
    auto impl = std::make_unique<Impl>(devicePath, options);
    impl->start();
    Impl* p = impl.get();
    p->call([p] { p->openPort(); });
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
    return p->call([p] { return p->readOnPort(); });
}

std::size_t SerialSource::record(std::size_t count, std::int64_t periodMicroseconds, const BlockSink& sink) {
    constexpr auto kMax = std::numeric_limits<std::uint32_t>::max();
    if (count == 0) return 0;
    if (count > kMax || periodMicroseconds < 1 || periodMicroseconds > kMax) {
        throw SourceError(withArgs(translated("SerialSource", "La carte ne sait pas faire cette mesure : %1 échantillons, "
                                                              "un toutes les %2 µs."),
                                   {n(count), std::to_string(periodMicroseconds)}));
    }
    if (!impl_->present) throw SourceError(withArgs(translated("SerialSource", "La carte Pendulab (%1) a été débranchée."), {impl_->path}));
    Impl* p = impl_.get();
    p->stopRequested = false;
    p->recording = true;

    // The port thread records; this thread hands the blocks to the sink.
    struct Handoff {
        std::mutex mutex;
        std::condition_variable ready;
        std::deque<std::pair<std::size_t, std::vector<double>>> blocks;
        bool done = false;
        std::size_t result = 0;
        std::exception_ptr error;
    } h;
    {
        std::lock_guard queued(p->mutex);
        p->tasks.emplace_back([p, &h, count, periodMicroseconds] {
            std::size_t result = 0;
            std::exception_ptr error;
            try {
                result = p->recordOnPort(static_cast<std::uint32_t>(count), static_cast<std::uint32_t>(periodMicroseconds),
                                         [&h](std::size_t first, std::vector<double>&& block) {
                                             std::lock_guard lock(h.mutex);
                                             h.blocks.emplace_back(first, std::move(block));
                                             h.ready.notify_all();
                                         });
            } catch (...) {
                error = std::current_exception();
            }
            std::lock_guard lock(h.mutex);
            h.result = result;
            h.error = error;
            h.done = true;
            h.ready.notify_all();
        });
    }
    p->wake.notify_all();

    std::exception_ptr sinkError;
    for (;;) {
        std::unique_lock lock(h.mutex);
        h.ready.wait(lock, [&h] { return h.done || !h.blocks.empty(); });
        if (h.blocks.empty()) break;  // done, and everything delivered
        auto [first, block] = std::move(h.blocks.front());
        h.blocks.pop_front();
        lock.unlock();
        if (sinkError) continue;  // the caller failed: drain until the board has stopped
        try {
            sink(first, std::span<const double>(block));
        } catch (...) {
            sinkError = std::current_exception();
            p->stopRequested = true;
        }
    }
    p->recording = false;
    if (sinkError) std::rethrow_exception(sinkError);
    if (h.error) std::rethrow_exception(h.error);
    return h.result;
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

std::vector<BoardFound> probeBoards(const SerialOptions& options) {
    return probeBoards(serialPortCandidates(), options);
}

}  // namespace pendulab
