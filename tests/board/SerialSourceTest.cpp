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

#include "ScriptedBoard.h"
#include "acquisition/SerialSource.h"

using namespace pendulab;
using namespace pendulab::testing;
using namespace std::chrono_literals;

namespace {

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
