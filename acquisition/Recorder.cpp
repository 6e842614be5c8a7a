#include "acquisition/Recorder.h"
#include "core/Text.h"

#include <cmath>
#include <optional>
#include <stdexcept>

namespace pendulab {

Recorder::~Recorder()
{
    stop();
    join();
}

void Recorder::launch(std::function<void()> work, SampleSource& source)
{
    if (running_.exchange(true)) throw std::logic_error(translated("Recorder", "Une mesure est déjà en cours."));
    join(); // the previous worker has finished: reclaim it
    stopAsked_ = false;
    source_ = &source;
    try {
        worker_ = std::thread(std::move(work));
    } catch (...) {
        source_ = nullptr;
        running_ = false;
        throw;
    }
}

void Recorder::start(SampleSource& source, const RecordingPlan& plan, Blocks blocks, Waiting waiting, Done done)
{
    launch([this, &source, plan, blocks = std::move(blocks), waiting = std::move(waiting), done = std::move(done)] {
        run(source, plan, blocks, waiting, done);
    }, source);
}

void Recorder::startTimed(SampleSource& source, const RecordingPlan& plan, TimedBlocks blocks, Waiting waiting, Done done)
{
    launch([this, &source, plan, blocks = std::move(blocks), waiting = std::move(waiting), done = std::move(done)] {
        runTimed(source, plan, blocks, waiting, done);
    }, source);
}

void Recorder::finish(RecordingOutcome& out, const Done& done)
{
    if (out.kind != RecordingOutcome::Kind::Complete) {
        out.volts.clear();
        out.instants.clear();
    }
    source_ = nullptr;
    running_ = false;
    if (done) done(std::move(out));
}

void Recorder::stop()
{
    stopAsked_ = true;
    if (SampleSource* s = source_.load()) s->stop();
}

void Recorder::join()
{
    if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) worker_.join();
}

void Recorder::run(SampleSource& source, RecordingPlan plan, Blocks blocks, Waiting waiting, Done done)
{
    RecordingOutcome out;
    out.volts.reserve(plan.count);
    bool triggered = !plan.trigger;
    const std::size_t wait = plan.trigger ? (plan.maxWaitSamples ? plan.maxWaitSamples : plan.count * 30) : 0;
    std::vector<double> block;
    try {
        if (plan.trigger && waiting) waiting();
        source.record(plan.count + wait, plan.periodMicroseconds, [&](std::size_t, std::span<const double> samples) {
            if (stopAsked_) source.stop(); // a stop that came before the source started listening
            block.clear();
            const std::size_t first = out.volts.size();
            for (double v : samples) {
                if (!triggered && std::fabs(v - plan.reference) > plan.threshold) triggered = true; // index 0
                if (triggered && out.volts.size() < plan.count) {
                    out.volts.push_back(v);
                    block.push_back(v);
                }
            }
            if (!block.empty() && blocks) blocks(first, block);
            if (out.volts.size() >= plan.count) source.stop(); // complete: what follows is not ours
        });
        out.received = out.volts.size();
        if (out.received >= plan.count) out.kind = RecordingOutcome::Kind::Complete;
        else if (stopAsked_) out.kind = RecordingOutcome::Kind::Stopped;
        else {
            out.kind = RecordingOutcome::Kind::Failed;
            out.message = triggered ? withArgs(translated("Recorder", "La source a cessé d'envoyer des échantillons après %1 sur %2."),
                                               {std::to_string(out.received), std::to_string(plan.count)})
                                    : translated("Recorder", "Aucun lâcher détecté : le signal est resté dans la bande de déclenchement.");
        }
    } catch (const std::exception& e) {
        out.received = out.volts.size();
        out.kind = stopAsked_ ? RecordingOutcome::Kind::Stopped : RecordingOutcome::Kind::Failed;
        out.message = withArgs(translated("Recorder", "Mesure interrompue après %1 échantillons sur %2 : %3"),
                               {std::to_string(out.received), std::to_string(plan.count), e.what()});
    }
    finish(out, done);
}

} // namespace pendulab

namespace pendulab {

// A source with its own instants: samples from the first one kept (the release when triggered),
// re-based to start at 0, until one comes at plan.seconds or later.
void Recorder::runTimed(SampleSource& source, RecordingPlan plan, TimedBlocks blocks, Waiting waiting, Done done)
{
    RecordingOutcome out;
    bool triggered = !plan.trigger, reached = false;
    std::optional<double> firstSeen, firstKept;
    const double end = plan.seconds * (1.0 - 1e-9); // a time meant as D, read back a hair short, is D
    std::vector<double> blockT, blockV;
    SampleSource::TimedEnd ended;
    try {
        if (plan.trigger && waiting) waiting();
        ended = source.recordTimed([&](std::span<const double> instants, std::span<const double> values) {
            if (stopAsked_ || reached) source.stop();
            blockT.clear();
            blockV.clear();
            const std::size_t first = out.volts.size();
            for (std::size_t k = 0; k < instants.size() && !reached; ++k) {
                if (!firstSeen) firstSeen = instants[k];
                if (!triggered && std::fabs(values[k] - plan.reference) > plan.threshold) triggered = true;
                if (!triggered) {
                    if (instants[k] - *firstSeen > 30.0 * plan.seconds) source.stop(); // no release: give up
                    continue;
                }
                if (!firstKept) firstKept = instants[k];
                const double t = instants[k] - *firstKept;
                if (t >= end) {
                    reached = true;
                    source.stop();
                    break;
                }
                out.instants.push_back(t);
                out.volts.push_back(values[k]);
                blockT.push_back(t);
                blockV.push_back(values[k]);
            }
            if (!blockV.empty() && blocks) blocks(first, blockT, blockV);
        });
        out.received = out.volts.size();
        using Kind = RecordingOutcome::Kind;
        if (reached || (ended.cut && !out.volts.empty())) {
            out.kind = Kind::Complete;
            out.notice = ended.notice;
        } else if (stopAsked_) {
            out.kind = Kind::Stopped;
        } else {
            out.kind = Kind::Failed;
            out.message = !triggered ? translated("Recorder", "Aucun lâcher détecté : le signal est resté dans la bande de déclenchement.")
                        : !ended.notice.empty() ? ended.notice
                                                : translated("Recorder", "La source a cessé d'envoyer des échantillons.");
        }
    } catch (const std::exception& e) {
        out.received = out.volts.size();
        out.kind = stopAsked_ ? RecordingOutcome::Kind::Stopped : RecordingOutcome::Kind::Failed;
        out.message = withArgs(translated("Recorder", "Mesure interrompue après %1 échantillons : %2"),
                               {std::to_string(out.received), e.what()});
    }
    finish(out, done);
}

} // namespace pendulab
