#pragma once
// A board that follows the wire protocol on a pseudo-terminal, scripted to misbehave on demand.
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdint>
#include <limits>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace pendulab::testing {

inline std::uint32_t codeAt(std::size_t i) { return static_cast<std::uint32_t>((i * 37 + 5) % 1024); }

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
    // Waits (2 s at most) until the program has read every byte sent to it.
    void waitUntilRead() {
        const int peek = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (peek < 0) return;
        for (int i = 0; i < 400; ++i) {
            int pending = 0;
            if (::ioctl(peek, FIONREAD, &pending) != 0 || pending == 0) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ::close(peek);
    }

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
                    // Let the program read what was sent (a hang-up drops what is still in the
                    // terminal's queue), then unplug: the program's end of the link hangs up.
                    waitUntilRead();
                    ::close(master_);
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


} // namespace pendulab::testing
