#include "acquisition/PortThread.h"

#include <QThread>

#include <exception>
#include <utility>

namespace pendulab {

PortThread::PortThread(std::function<void()> atExit) : atExit_(std::move(atExit)) {
    thread_ = QThread::create([this] { run(); });
    thread_->start();
}

PortThread::~PortThread() {
    {
        std::lock_guard lock(mutex_);
        quitting_ = true;
    }
    wake_.notify_all();
    thread_->wait();
    delete thread_;
}

void PortThread::run() {
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return quitting_ || !tasks_.empty(); });
            if (tasks_.empty()) break;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
    atExit_();
}

void PortThread::post(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.emplace_back(std::move(task));
    }
    wake_.notify_all();
}

std::size_t PortThread::stream(const std::function<std::size_t(const Deliver&)>& produce,
                               const SampleSource::BlockSink& sink, const std::function<void()>& onSinkError) {
    struct Handoff {
        std::mutex mutex;
        std::condition_variable ready;
        std::deque<std::pair<std::size_t, std::vector<double>>> blocks;
        bool done = false;
        std::size_t result = 0;
        std::exception_ptr error;
    } h;
    post([&h, &produce] {
        std::size_t result = 0;
        std::exception_ptr error;
        try {
            result = produce([&h](std::size_t first, std::vector<double>&& block) {
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

    std::exception_ptr sinkError;
    for (;;) {
        std::unique_lock lock(h.mutex);
        h.ready.wait(lock, [&h] { return h.done || !h.blocks.empty(); });
        if (h.blocks.empty()) break;  // done, and everything delivered
        auto [first, block] = std::move(h.blocks.front());
        h.blocks.pop_front();
        lock.unlock();
        if (sinkError) continue;  // the caller failed: drain until the production has stopped
        try {
            sink(first, std::span<const double>(block));
        } catch (...) {
            sinkError = std::current_exception();
            onSinkError();
        }
    }
    if (sinkError) std::rethrow_exception(sinkError);
    if (h.error) std::rethrow_exception(h.error);
    return h.result;
}

}  // namespace pendulab
