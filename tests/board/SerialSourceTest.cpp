// SerialSource against a scripted board on a pseudo-terminal: a good recording, stop(), the live
// reading, the probe, and each fault the program must name for the user.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <thread>
#include <unistd.h>

#include "acquisition/SerialSource.h"

using namespace pendulab;
using namespace std::chrono_literals;

namespace {

std::uint32_t codeAt(std::size_t i) { return static_cast<std::uint32_t>((i * 37 + 5) % 1024); }

// A board played by a thread on the master side of a pseudo-terminal. By default it follows the
// protocol, sending samples in bursts of 20 lines 2 ms apart; each field below spoils it.
struct Script {
    bool answerId = true;
    std::string runReply;                                // sent instead of a run
    std::size_t faultAt = std::numeric_limits<std::size_t>::max();
    std::string faultBytes;                              // sent instead of sample faultAt
    enum class Then { GoOn, FallSilent, Vanish } then = Then::GoOn;
};

class ScriptedBoard {
public:
    explicit ScriptedBoard(Script script) : script_(std::move(script)) {
        int slave = -1;
        char name[256] = {};
        if (openpty(&master_, &slave, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty");
        path_ = name;
        ::close(slave);
        thread_ = std::thread([this] { play(); });
    }
    ~ScriptedBoard() {
        quit_ = true;
        thread_.join();
        if (master_ >= 0) ::close(master_);
    }
    const std::string& path() const { return path_; }
    std::vector<std::string> heard() {
        std::lock_guard lock(mutex_);
        return heard_;
    }

private:
    void write(const std::string& s) { (void)!::write(master_, s.data(), s.size()); }

    // Next complete line from the program, or "" after `waitMs` without one.
    std::string nextLine(int waitMs) {
        for (;;) {
            if (const auto nl = input_.find('\n'); nl != std::string::npos) {
                std::string line = input_.substr(0, nl);
                input_.erase(0, nl + 1);
                std::lock_guard lock(mutex_);
                heard_.push_back(line);
                return line;
            }
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, waitMs) <= 0 || !(p.revents & POLLIN)) return "";
            char buf[256];
            const ssize_t got = ::read(master_, buf, sizeof buf);
            if (got <= 0) return "";  // nobody holds the port now
            input_.append(buf, static_cast<std::size_t>(got));
        }
    }

    void play() {
        while (!quit_ && master_ >= 0) {
            const std::string line = nextLine(20);
            if (line == "ID?" && script_.answerId) write("PENDULAB-BOARD 1 10 5000\n");
            if (line == "READ") write("512\n");
            std::size_t count = 0, period = 0;
            if (std::sscanf(line.c_str(), "RUN %zu %zu", &count, &period) == 2) run(count, period);
        }
    }

    void run(std::size_t count, std::size_t period) {
        if (!script_.runReply.empty()) return write(script_.runReply);
        write("RUN " + std::to_string(count) + " " + std::to_string(period) + "\n");
        for (std::size_t i = 0; i < count; ++i) {
            if (i == script_.faultAt) {
                write(script_.faultBytes);
                if (script_.then == Script::Then::FallSilent) return;
                if (script_.then == Script::Then::Vanish) {
                    ::close(master_);  // unplugged: the program's end of the link hangs up
                    master_ = -1;
                    return;
                }
                continue;
            }
            write(std::to_string(i) + " " + std::to_string(codeAt(i)) + "\n");
            if (i % 20 == 19 && nextLine(2) == "STOP") break;
        }
        write("END\n");
    }

    Script script_;
    int master_ = -1;
    std::string path_;
    std::string input_;
    std::mutex mutex_;
    std::vector<std::string> heard_;
    std::atomic<bool> quit_{false};
    std::thread thread_;
};

Script refusing(std::string reply) {
    Script s;
    s.runReply = std::move(reply);
    return s;
}

Script faulty(std::size_t at, std::string bytes, Script::Then then = Script::Then::GoOn) {
    Script s;
    s.faultAt = at;
    s.faultBytes = std::move(bytes);
    s.then = then;
    return s;
}

SerialOptions quick() {
    SerialOptions o;
    o.identifyTimeoutMs = 500;
    o.replyTimeoutMs = 300;
    o.silenceTimeoutMs = 300;
    return o;
}

struct Recorded {
    std::vector<double> volts;
    std::size_t returned = 0;
    std::string error;
};

Recorded recordFrom(const Script& script, std::size_t count = 2001) {
    ScriptedBoard board(script);
    auto source = SerialSource::open(board.path(), quick());
    Recorded r;
    try {
        r.returned = source->record(count, 500, [&](std::size_t first, std::span<const double> block) {
            EXPECT_EQ(first, r.volts.size());  // in order, each sample once
            r.volts.insert(r.volts.end(), block.begin(), block.end());
        });
    } catch (const SourceError& e) {
        r.error = e.what();
    }
    return r;
}

}  // namespace

TEST(BoardSerial, RecordsReadsAndProbesAScriptedBoard) {
    ScriptedBoard board({});
    auto source = SerialSource::open(board.path(), quick());
    EXPECT_EQ(source->name(), "Carte Pendulab (" + board.path() + ")");
    EXPECT_TRUE(source->present());
    EXPECT_DOUBLE_EQ(source->minVolts(), 0.0);
    EXPECT_DOUBLE_EQ(source->maxVolts(), 5.0);
    source->setMetresPerVolt(0.04);
    EXPECT_DOUBLE_EQ(source->metresPerVolt(), 0.04);
    EXPECT_EQ(source->readLive(), std::optional<double>(2.5));

    std::vector<double> volts;
    std::size_t blocks = 0;
    const auto caller = std::this_thread::get_id();
    const std::size_t got = source->record(2001, 500, [&](std::size_t first, std::span<const double> block) {
        EXPECT_EQ(first, volts.size());
        EXPECT_EQ(std::this_thread::get_id(), caller);  // the sink runs on the caller's thread
        volts.insert(volts.end(), block.begin(), block.end());
        ++blocks;
    });
    EXPECT_EQ(got, 2001u);
    ASSERT_EQ(volts.size(), 2001u);
    for (std::size_t i = 0; i < volts.size(); ++i) ASSERT_DOUBLE_EQ(volts[i], codeAt(i) * 5.0 / 1024) << i;
    EXPECT_GE(blocks, 10u);  // delivered as it came, not all at the end (a read may bring several lines)
    EXPECT_EQ(board.heard().back(), "RUN 2001 500");  // D = 1 s: 2001 samples, 500 us apart

    // The probe finds this board and skips what does not answer.
    source.reset();
    const auto again = probeBoards({"/dev/pendulab-no-such-port", board.path()}, quick());
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].path, board.path());
    EXPECT_EQ(again[0].identity.vrefMillivolts, 5000);
}

TEST(BoardSerial, StopEndsTheRunEarlyWithEverySampleInOrder) {
    ScriptedBoard board({});
    auto source = SerialSource::open(board.path(), quick());
    std::vector<double> volts;
    const std::size_t got = source->record(2001, 500, [&](std::size_t first, std::span<const double> block) {
        EXPECT_EQ(first, volts.size());
        volts.insert(volts.end(), block.begin(), block.end());
        if (volts.size() >= 300) source->stop();
    });
    EXPECT_EQ(got, volts.size());
    EXPECT_GE(got, 300u);
    EXPECT_LT(got, 2001u);
    const auto heard = board.heard();
    EXPECT_NE(std::find(heard.begin(), heard.end(), "STOP"), heard.end());
    for (std::size_t i = 0; i < volts.size(); ++i) ASSERT_DOUBLE_EQ(volts[i], codeAt(i) * 5.0 / 1024) << i;
    // The port still serves after a stopped run.
    EXPECT_EQ(source->readLive(), std::optional<double>(2.5));
}

TEST(BoardSerial, EachFaultIsNamedForTheUser) {
    {  // no board answers: give up after the timeout
        Script silent;
        silent.answerId = false;
        ScriptedBoard board(silent);
        SerialOptions o = quick();
        o.identifyTimeoutMs = 1100;  // an Uno may miss the first questions while it boots: ask again
        const auto start = std::chrono::steady_clock::now();
        try {
            SerialSource::open(board.path(), o);
            ADD_FAILURE() << "a silent port was taken for a board";
        } catch (const SourceError& e) {
            EXPECT_NE(std::string(e.what()).find("Aucune carte Pendulab ne répond sur " + board.path()), std::string::npos);
        }
        EXPECT_GE(std::chrono::steady_clock::now() - start, 1100ms);
        const auto heard = board.heard();
        EXPECT_GE(std::count(heard.begin(), heard.end(), "ID?"), 2) << "asked once only";
    }
    {
        const auto r = recordFrom(refusing("ERR periode trop courte (minimum 400 us)\n"));
        EXPECT_EQ(r.error, "La carte refuse la mesure : periode trop courte (minimum 400 us)");
        EXPECT_TRUE(r.volts.empty());
    }
    {
        const auto r = recordFrom(faulty(300, "3O0 512\n"));
        EXPECT_NE(r.error.find("illisible"), std::string::npos) << r.error;
        EXPECT_NE(r.error.find("« 3O0 512 »"), std::string::npos) << r.error;
        EXPECT_EQ(r.volts.size(), 300u);
    }
    {
        const auto r = recordFrom(faulty(300, "301 512\n"));
        EXPECT_NE(r.error.find("Échantillon manquant"), std::string::npos) << r.error;
    }
    {
        const auto r = recordFrom(faulty(300, "300 5", Script::Then::FallSilent));
        EXPECT_EQ(r.error, "Ligne coupée : la carte a envoyé « 300 5 » sans la terminer.");
        EXPECT_EQ(r.volts.size(), 300u);
    }
    {
        const auto r = recordFrom(faulty(700, "", Script::Then::Vanish));
        EXPECT_EQ(r.error, "La carte a été débranchée pendant la mesure : 700 échantillons reçus sur 2001.");
        EXPECT_EQ(r.volts.size(), 700u);
    }
    {  // the tests run as root: the refusal is injected
        ScriptedBoard board({});
        SerialOptions o = quick();
        o.injectedOpenErrno = EACCES;
        try {
            SerialSource::open(board.path(), o);
            ADD_FAILURE() << "opened despite the refusal";
        } catch (const SourceError& e) {
            EXPECT_NE(std::string(e.what()).find("groupe « dialout »"), std::string::npos) << e.what();
        }
    }
    try {
        SerialSource::open("/dev/pendulab-no-such-port", quick());
        ADD_FAILURE() << "opened a port that does not exist";
    } catch (const SourceError& e) {
        EXPECT_NE(std::string(e.what()).find("n'existe pas"), std::string::npos) << e.what();
    }
}

TEST(BoardSerial, CandidatesAreUsbSerialPortsOnly) {
    const auto dir = std::filesystem::temp_directory_path() / ("pendulab-dev-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    for (const char* name : {"ttyACM10", "ttyS0", "ttyUSB0", "ttyACM2", "ttyAMA0", "ttyACM", "ttyUSBx", "video0"}) {
        std::ofstream(dir / name).put('\n');
    }
    EXPECT_EQ(serialPortCandidates(dir.string()),
              (std::vector<std::string>{(dir / "ttyACM2").string(), (dir / "ttyACM10").string(), (dir / "ttyUSB0").string()}));
    std::filesystem::remove_all(dir);
}
