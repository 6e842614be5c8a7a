#include "acquisition/BoardProtocol.h"

#include <cstring>

#include "core/Text.h"

namespace pendulab::board {
namespace {

// Digits only, at least one, within 32 bits.
bool parseNumber(std::string_view text, std::uint32_t& value) {
    if (text.empty() || text.size() > 10) return false;
    std::uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<unsigned>(c - '0');
    }
    if (v > 0xFFFFFFFFu) return false;
    value = static_cast<std::uint32_t>(v);
    return true;
}

// Splits "a b" at its single space; false unless there are exactly two non-empty fields.
bool splitPair(std::string_view text, std::string_view& first, std::string_view& second) {
    const std::size_t space = text.find(' ');
    if (space == std::string_view::npos) return false;
    first = text.substr(0, space);
    second = text.substr(space + 1);
    return !first.empty() && !second.empty() && second.find(' ') == std::string_view::npos;
}

// The line as the user will read it in a message: quoted, shortened, control bytes shown as '?'.
std::string quoted(std::string_view text) {
    std::string shown;
    for (char c : text.substr(0, 40)) shown += (static_cast<unsigned char>(c) < 32 || c == 127) ? '?' : c;
    if (text.size() > 40) shown += "…";
    return withArgs(translated("BoardProtocol", "« %1 »"), {shown});
}

std::string numberText(std::uint32_t n) { return std::to_string(n); }

}  // namespace

bool parseIdentity(std::string_view line, Identity& identity) {
    constexpr std::string_view prefix = "PENDULAB-BOARD ";
    if (line.substr(0, prefix.size()) != prefix) return false;
    std::string_view rest = line.substr(prefix.size());
    std::uint32_t fields[3];
    for (int i = 0; i < 3; ++i) {
        const std::size_t space = rest.find(' ');
        const std::string_view field = i < 2 ? rest.substr(0, space) : rest;
        if ((i < 2 && space == std::string_view::npos) || !parseNumber(field, fields[i])) return false;
        if (i < 2) rest = rest.substr(space + 1);
    }
    identity.protocol = static_cast<int>(fields[0] > 1000 ? 1000 : fields[0]);
    identity.bits = static_cast<int>(fields[1] > 1000 ? 1000 : fields[1]);
    identity.vrefMillivolts = static_cast<int>(fields[2] > 1000000 ? 1000000 : fields[2]);
    return true;
}

void Parser::reset(Expect expect) {
    expect_ = expect;
    nextIndex_ = 0;
    echoed_ = false;
    ended_ = false;
    failed_ = false;
    overlong_ = false;
    partial_.clear();
}

void Parser::expectIdentity() { reset(Expect::Identity); }

void Parser::expectReading(const Identity& identity) {
    reset(Expect::Reading);
    identity_ = identity;
    maxCode_ = identity.bits >= 32 ? 0xFFFFFFFFu : (std::uint32_t{1} << identity.bits) - 1;
}

void Parser::expectRun(const Identity& identity, std::uint32_t count, std::uint32_t periodMicroseconds) {
    expectReading(identity);
    expect_ = Expect::Run;
    count_ = count;
    period_ = periodMicroseconds;
}

void Parser::expectNothing() {
    // Keeps the count of the run that ended, for the messages that follow it.
    const std::uint32_t received = nextIndex_;
    reset(Expect::Nothing);
    nextIndex_ = received;
}

void Parser::fault(std::string message, std::vector<Event>& out) {
    failed_ = true;
    Event e;
    e.kind = Event::Kind::Fault;
    e.text = std::move(message);
    out.push_back(std::move(e));
}

void Parser::feed(std::string_view bytes, std::vector<Event>& out) {
    while (!bytes.empty() && !failed_) {
        const void* found = std::memchr(bytes.data(), '\n', bytes.size());
        if (found == nullptr) {
            if (overlong_) return;
            partial_.append(bytes);
            if (partial_.size() > kMaxLineLength) {
                if (expect_ == Expect::Identity) {
                    overlong_ = true;  // boot noise: skipped up to its end
                    partial_.clear();
                } else {
                    fault(withArgs(translated("BoardProtocol", "Ligne trop longue reçue de la carte : %1."), {quoted(partial_)}), out);
                }
            }
            return;
        }
        const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data());
        if (overlong_) {
            overlong_ = false;
        } else if (partial_.empty()) {
            line(bytes.substr(0, end), out);
        } else {
            partial_.append(bytes.substr(0, end));
            std::string whole;
            whole.swap(partial_);
            line(whole, out);
        }
        bytes.remove_prefix(end + 1);
    }
}

void Parser::finish(std::vector<Event>& out) {
    if (!failed_ && !partial_.empty() && expect_ != Expect::Identity) {
        fault(withArgs(translated("BoardProtocol", "Ligne coupée : la carte a envoyé %1 sans la terminer."), {quoted(partial_)}), out);
    }
    partial_.clear();
}

void Parser::line(std::string_view text, std::vector<Event>& out) {
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    if (text.size() > kMaxLineLength && expect_ != Expect::Identity) {
        fault(withArgs(translated("BoardProtocol", "Ligne trop longue reçue de la carte : %1."), {quoted(text)}), out);
        return;
    }
    if (expect_ == Expect::Run && echoed_ && !ended_ && runLine(text, out)) return;

    if (text.substr(0, 4) == "ERR " && expect_ != Expect::Nothing) {
        failed_ = true;  // the board gave up: what follows belongs to no request
        Event& e = out.emplace_back();
        e.kind = Event::Kind::Error;
        e.text = std::string(text.substr(4));
        return;
    }

    switch (expect_) {
    case Expect::Identity:
        identityLine(text, out);
        return;
    case Expect::Reading:
        if (readingLine(text, out)) return;
        break;
    case Expect::Run:
        if (!echoed_ && echoLine(text, out)) return;
        break;  // neither the echo, a sample nor END
    case Expect::Nothing:
        fault(withArgs(translated("BoardProtocol", "Ligne inattendue de la carte : %1."), {quoted(text)}), out);
        return;
    }
    if (expect_ == Expect::Run && echoed_ && !ended_) {
        fault(withArgs(translated("BoardProtocol", "Ligne illisible au milieu de la mesure, après %1 échantillons : %2."),
                       {numberText(nextIndex_), quoted(text)}),
              out);
    } else {
        fault(withArgs(translated("BoardProtocol", "Ligne illisible de la carte : %1."), {quoted(text)}), out);
    }
}

// The hot path: one sample of a run, or its END. False for any other line.
bool Parser::runLine(std::string_view text, std::vector<Event>& out) {
    std::string_view indexText, codeText;
    std::uint32_t index = 0, code = 0;
    if (splitPair(text, indexText, codeText) && parseNumber(indexText, index) && parseNumber(codeText, code)) {
        if (index != nextIndex_ || (count_ != 0 && index >= count_) || code > maxCode_) {
            badSample(index, code, out);
            return true;
        }
        ++nextIndex_;
        Event& e = out.emplace_back();
        e.kind = Event::Kind::Sample;
        e.index = index;
        e.code = code;
        return true;
    }
    if (text == "END") {
        ended_ = true;
        out.emplace_back().kind = Event::Kind::End;
        return true;
    }
    return false;
}

// A well-formed sample that does not belong: out of sequence, past the run's count, or out of range.
void Parser::badSample(std::uint32_t index, std::uint32_t code, std::vector<Event>& out) {
    if (index != nextIndex_) {
        fault(withArgs(index > nextIndex_
                           ? translated("BoardProtocol", "Échantillon manquant : la carte a envoyé le n° %1 alors que le n° %2 était attendu.")
                           : translated("BoardProtocol", "Échantillon répété : la carte a envoyé le n° %1 alors que le n° %2 était attendu."),
                       {numberText(index), numberText(nextIndex_)}),
              out);
    } else if (count_ != 0 && index >= count_) {
        fault(withArgs(translated("BoardProtocol", "Échantillon en trop : la carte a envoyé le n° %1 pour une mesure de %2 échantillons."),
                       {numberText(index), numberText(count_)}),
              out);
    } else {
        fault(withArgs(translated("BoardProtocol", "Valeur hors plage : la carte a envoyé %1 pour l'échantillon n° %2 (son convertisseur donne 0 à %3)."),
                       {numberText(code), numberText(index), numberText(maxCode_)}),
              out);
    }
}

// The answer to "ID?"; any other line is boot noise, skipped.
void Parser::identityLine(std::string_view text, std::vector<Event>& out) {
    Identity id;
    if (!parseIdentity(text, id)) return;
    if (id.protocol != kProtocolVersion) {
        fault(withArgs(translated("BoardProtocol", "La carte parle la version %1 du protocole ; Pendulab connaît la version %2."),
                       {std::to_string(id.protocol), std::to_string(kProtocolVersion)}),
              out);
    } else if (id.bits < 1 || id.bits > 24 || id.vrefMillivolts < 1) {
        fault(withArgs(translated("BoardProtocol", "La carte annonce un convertisseur impossible : %1."), {quoted(text)}), out);
    } else {
        Event& e = out.emplace_back();
        e.kind = Event::Kind::Identity;
        e.identity = id;
        expect_ = Expect::Nothing;
    }
}

// The answer to "READ": false unless the line is a number.
bool Parser::readingLine(std::string_view text, std::vector<Event>& out) {
    std::uint32_t code = 0;
    if (!parseNumber(text, code)) return false;
    if (code > maxCode_) {
        fault(withArgs(translated("BoardProtocol", "Valeur hors plage : la carte a envoyé %1 (son convertisseur donne 0 à %2)."),
                       {numberText(code), numberText(maxCode_)}),
              out);
    } else {
        Event& e = out.emplace_back();
        e.kind = Event::Kind::Reading;
        e.code = code;
        expect_ = Expect::Nothing;
    }
    return true;
}

// The echo of "RUN count period_us": false unless the line has its form.
bool Parser::echoLine(std::string_view text, std::vector<Event>& out) {
    const std::string_view rest = text.substr(0, 4) == "RUN " ? text.substr(4) : std::string_view{};
    std::string_view countText, periodText;
    std::uint32_t count = 0, period = 0;
    if (!splitPair(rest, countText, periodText) || !parseNumber(countText, count) || !parseNumber(periodText, period)) {
        return false;
    }
    if (count != count_ || period != period_) {
        fault(withArgs(translated("BoardProtocol", "La carte a compris %1 au lieu de %2."),
                       {quoted(text), quoted("RUN " + numberText(count_) + " " + numberText(period_))}),
              out);
        return true;
    }
    echoed_ = true;
    Event& e = out.emplace_back();
    e.kind = Event::Kind::RunEcho;
    e.count = count;
    e.periodMicroseconds = period;
    return true;
}

}  // namespace pendulab::board
