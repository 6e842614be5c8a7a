#pragma once
// The thread a serial port belongs to (Qt Serial Port wants every call on a port made from the
// thread that opened it) and its queue of tasks: other threads hand it work and wait for the answer,
// or for the blocks of samples it produces.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <vector>

#include "acquisition/SampleSource.h"

class QThread;

namespace pendulab {

class PortThread {
public:
    // Starts the thread. `atExit` runs on it as it ends, after the last task (the port is closed
    // where it was opened).
    explicit PortThread(std::function<void()> atExit);
    // Runs the tasks still queued, then ends the thread.
    ~PortThread();
    PortThread(const PortThread&) = delete;
    PortThread& operator=(const PortThread&) = delete;

    // Queues `task`: it runs on the thread after those queued before it.
    void post(std::function<void()> task);

    // Runs `f` on the thread and waits for it; its exception comes back to the caller.
    template <class F>
    auto call(F f) -> decltype(f()) {
        std::packaged_task<decltype(f())()> task(std::move(f));
        auto result = task.get_future();
        post([&task] { task(); });
        return result.get();
    }

    // How work on the thread hands over a block: `first` is the index of its first sample.
    using Deliver = std::function<void(std::size_t first, std::vector<double>&& block)>;

    // Runs `produce` on the thread and hands each block it delivers to `sink` on the caller's
    // thread, in order; returns what `produce` returns, or throws what it throws. When `sink`
    // throws, `onSinkError` runs (to end the production early), the blocks that follow are
    // dropped, and the sink's exception is thrown once `produce` has returned.
    std::size_t stream(const std::function<std::size_t(const Deliver&)>& produce, const SampleSource::BlockSink& sink,
                       const std::function<void()>& onSinkError);

private:
    void run();

    std::function<void()> atExit_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> tasks_;
    bool quitting_ = false;
    QThread* thread_ = nullptr;
};

}  // namespace pendulab
