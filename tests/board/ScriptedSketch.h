#pragma once
// A sketch of a teacher's own, printing text lines on the master side of a pseudo-terminal as it
// is told: bytes now, a stream of lines from a thread, silence, or the cable pulled out.
#include <pty.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

namespace pendulab::testing {

class ScriptedSketch {
public:
    ScriptedSketch()
    {
        int slave = -1;
        char name[256] = {};
        if (openpty(&master_, &slave, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty");
        path_ = name;
        ::close(slave);
    }
    ~ScriptedSketch()
    {
        quiet();
        if (master_ >= 0) ::close(master_);
    }
    const std::string& path() const { return path_; }
    void write(const std::string& s) { (void)!::write(master_, s.data(), s.size()); }

    // Writes line(0), line(1), … every `everyMs` from a thread, `count` lines, then falls silent
    // (or unplugs when asked). It begins 150 ms from now: a run started meanwhile sees them all.
    void stream(std::function<std::string(std::size_t)> line, std::size_t count, int everyMs, bool unplugAfter = false)
    {
        quiet();
        stop_ = false;
        thread_ = std::thread([=, this] {
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            for (std::size_t i = 0; i < count && !stop_; ++i) {
                write(line(i));
                std::this_thread::sleep_for(std::chrono::milliseconds(everyMs));
            }
            if (unplugAfter) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100)); // let what was sent be read
                ::close(master_);
                master_ = -1;
            }
        });
    }
    void quiet()
    {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }

private:
    int master_ = -1;
    std::string path_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace pendulab::testing
