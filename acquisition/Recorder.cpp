#include "acquisition/Recorder.h"
#include "core/Text.h"

#include <cmath>
#include <stdexcept>

namespace pendulab {

Recorder::~Recorder()
{
    stop();
    join();
}

void Recorder::start(SampleSource& source, const RecordingPlan& plan, Blocks blocks, Waiting waiting, Done done)
{
    if (running_.exchange(true)) throw std::logic_error(translated("Recorder", "Une mesure est déjà en cours."));
    join(); // the previous worker has finished: reclaim it
    stopAsked_ = false;
    source_ = &source;
    worker_ = std::thread(&Recorder::run, this, std::ref(source), plan, std::move(blocks), std::move(waiting),
                          std::move(done));
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
    if (out.kind != RecordingOutcome::Kind::Complete) out.volts.clear();
    source_ = nullptr;
    running_ = false;
    if (done) done(std::move(out));
}

} // namespace pendulab
