// The board's line parser: what a good stream means, and every way a stream can go wrong.
#include <gtest/gtest.h>

#include <utility>

#include "acquisition/BoardProtocol.h"

using pendulab::board::Event;
using pendulab::board::Identity;
using pendulab::board::Parser;
using Kind = Event::Kind;

namespace {

const Identity kUno{1, 10, 5000};

// Feeds `bytes` in pieces of `piece` bytes, as a serial port delivers them.
std::vector<Event> feed(Parser& p, std::string_view bytes, std::size_t piece = 3) {
    std::vector<Event> out;
    for (std::size_t at = 0; at < bytes.size(); at += piece) p.feed(bytes.substr(at, piece), out);
    return out;
}

// The fault `stream` ends on; only its `good` first samples may come out, then the fault.
std::string faultOf(std::string_view stream, std::uint32_t good = 1, std::uint32_t count = 5) {
    Parser p;
    p.expectRun(kUno, count, 500);
    auto events = feed(p, stream);
    p.finish(events);
    EXPECT_TRUE(p.failed()) << stream;
    EXPECT_EQ(p.samplesReceived(), good) << stream;
    if (events.empty() || events.back().kind != Kind::Fault) {
        ADD_FAILURE() << "no fault at the end of " << stream;
        return "";
    }
    return events.back().text;
}

}  // namespace

TEST(BoardProtocol, GoodStreamsInAnyPiecesAndLineEnds) {
    for (std::string_view end : {"\n", "\r\n"}) {
        for (std::size_t piece : {1u, 4u, 1000u}) {
            Parser p;
            p.expectIdentity();
            std::string boot = "\x14garbage while booting" + std::string(200, 'x') + "\nEND" + std::string(end) +
                               "PENDULAB-BOARD 1 10 5000" + std::string(end);
            auto ev = feed(p, boot, piece);
            ASSERT_EQ(ev.size(), 1u);
            EXPECT_EQ(ev[0].kind, Kind::Identity);
            EXPECT_EQ(ev[0].identity.bits, 10);
            EXPECT_EQ(ev[0].identity.vrefMillivolts, 5000);
            EXPECT_DOUBLE_EQ(ev[0].identity.volts(512), 2.5);

            p.expectReading(kUno);
            ev = feed(p, "1023" + std::string(end), piece);
            ASSERT_EQ(ev.size(), 1u);
            EXPECT_EQ(ev[0].kind, Kind::Reading);
            EXPECT_EQ(ev[0].code, 1023u);

            p.expectRun(kUno, 3, 500);
            const std::string run = "RUN 3 500" + std::string(end) + "0 0" + std::string(end) + "1 512" +
                                    std::string(end) + "2 1023" + std::string(end) + "END" + std::string(end);
            ev = feed(p, run, piece);
            ASSERT_EQ(ev.size(), 5u);
            EXPECT_EQ(ev[0].kind, Kind::RunEcho);
            EXPECT_EQ(ev[0].count, 3u);
            EXPECT_EQ(ev[0].periodMicroseconds, 500u);
            for (std::uint32_t i = 0; i < 3; ++i) {
                EXPECT_EQ(ev[1 + i].kind, Kind::Sample);
                EXPECT_EQ(ev[1 + i].index, i);
            }
            EXPECT_EQ(ev[2].code, 512u);
            EXPECT_EQ(ev[4].kind, Kind::End);
            EXPECT_FALSE(p.failed());
            EXPECT_EQ(p.samplesReceived(), 3u);
        }
    }
}

TEST(BoardProtocol, EveryFaultIsAnErrorNeverANumber) {
    const std::string echo = "RUN 5 500\n";
    EXPECT_NE(faultOf(echo + "0 12\n1 1x\n"), "");                           // garbage in a sample
    EXPECT_NE(faultOf(echo + "0 12\n#!?\n").find("illisible"), std::string::npos);
    EXPECT_NE(faultOf(echo + "0 12\n1 12 7\n"), "");                         // a field too many
    EXPECT_NE(faultOf(echo + "0 12\n1  12\n"), "");                          // empty field
    EXPECT_NE(faultOf(echo + "0 12\n-1 12\n"), "");
    EXPECT_NE(faultOf(echo + "0 12\n\n"), "");                               // empty line
    EXPECT_NE(faultOf(echo + "0 12\n1 2\r3\n"), "");                         // a stray carriage return
    EXPECT_NE(faultOf(echo + "0 12\n1 4294967296\n"), "");                   // beyond 32 bits
    EXPECT_NE(faultOf(echo + "0 12\n1 1024\n").find("hors plage"), std::string::npos);
    EXPECT_NE(faultOf(echo + "0 12\n2 12\n").find("manquant : la carte a envoyé le n° 2 alors que le n° 1"),
              std::string::npos);
    EXPECT_NE(faultOf(echo + "0 12\n1 12\n1 12\n", 2).find("répété"), std::string::npos);
    EXPECT_NE(faultOf("RUN 2 500\n0 1\n1 1\n2 1\n", 2, 2).find("en trop"), std::string::npos);
    // A cut line: its end never came, or the next line was glued to it.
    EXPECT_NE(faultOf(echo + "0 12\n1 5").find("Ligne coupée : la carte a envoyé « 1 5 »"), std::string::npos);
    EXPECT_NE(faultOf(echo + "0 12\n1 52 512\n"), "");
    EXPECT_NE(faultOf(echo + "0 12\n12 512\n"), "");
    EXPECT_NE(faultOf(echo + "0 " + std::string(100, '1'), 0).find("trop longue"), std::string::npos);
    // The echo must be the request, and come first.
    EXPECT_NE(faultOf("RUN 5 50\n", 0).find("au lieu de « RUN 5 500 »"), std::string::npos);
    EXPECT_NE(faultOf("0 12\n", 0), "");
    // Identity: another protocol version, a converter that cannot be (1 to 24 bits can).
    const std::pair<std::string_view, Kind> identities[] = {
        {"PENDULAB-BOARD 2 10 5000\n", Kind::Fault}, {"PENDULAB-BOARD 1 0 5000\n", Kind::Fault},
        {"PENDULAB-BOARD 1 25 5000\n", Kind::Fault}, {"PENDULAB-BOARD 1 1 5000\n", Kind::Identity},
        {"PENDULAB-BOARD 1 24 5000\n", Kind::Identity}};
    for (const auto& [id, kind] : identities) {
        Parser p;
        p.expectIdentity();
        auto ev = feed(p, id);
        ASSERT_EQ(ev.size(), 1u);
        EXPECT_EQ(ev[0].kind, kind) << id;
    }
    // Nothing was asked: anything is unexpected.
    Parser idle;
    idle.expectNothing();
    EXPECT_EQ(feed(idle, "512\n").at(0).kind, Kind::Fault);
}

TEST(BoardProtocol, TheBoardsRefusalCarriesItsReason) {
    Parser p;
    p.expectRun(kUno, 2001, 100);
    auto ev = feed(p, "ERR periode trop courte (minimum 400 us)\r\n0 1\n");
    ASSERT_EQ(ev.size(), 1u);  // what follows a refusal is not taken
    EXPECT_EQ(ev[0].kind, Kind::Error);
    EXPECT_EQ(ev[0].text, "periode trop courte (minimum 400 us)");

    p.expectRun(kUno, 0, 500);  // until STOP: END after any number of samples
    ev = feed(p, "RUN 0 500\n0 1\n1 2\nERR debordement apres 2 echantillons\n");
    ASSERT_EQ(ev.size(), 4u);
    EXPECT_EQ(ev[3].kind, Kind::Error);
    EXPECT_EQ(p.samplesReceived(), 2u);
}
