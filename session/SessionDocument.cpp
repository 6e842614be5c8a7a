// The experiment as a document: taken whole from the session, put back whole, and whether it has
// changed since it was last saved.
#include <stdexcept>

#include "core/Text.h"
#include "session/RunSteady.h"
#include "session/Session.h"

namespace pendulab {

Experiment Session::experiment() const
{
    Experiment e;
    e.runs.reserve(runs_.size());
    for (const Run& r : runs_) { // all but the derived arrays, made again when read
        Run& copy = e.runs.emplace_back();
        copy.measurement = r.measurement;
        copy.name = r.name;
        copy.colour = r.colour;
        copy.shown = r.shown;
        copy.unsavedRecording = r.unsavedRecording;
        copy.parameters = r.parameters;
        copy.modelComputed = r.modelComputed;
        copy.modelResult = r.modelResult;
        copy.interval = r.interval;
        copy.fit = r.fit;
        copy.ownValues = r.ownValues;
    }
    e.active = active_;
    e.notes = notes_;
    e.ownColumns = ownColumns_;
    e.results = resultsChoice_;
    return e;
}

void Session::setExperiment(Experiment e, bool saved)
{
    std::size_t total = 0;
    for (std::size_t i = 0; i < e.runs.size(); ++i) {
        const std::string why = refusalOf(e.runs[i].measurement);
        if (!why.empty())
            throw std::invalid_argument(withArgs(translated("Session", "« %1 » (mesure %2) : %3"),
                                                 {e.runs[i].name, std::to_string(i + 1), why}));
        total += e.runs[i].measurement.size();
    }
    if (const std::string why = refusalOfTotals(static_cast<int>(e.runs.size()), total); !why.empty())
        throw std::invalid_argument(why);
    if (e.active < (e.runs.empty() ? -1 : 0) || e.active >= static_cast<int>(e.runs.size()))
        throw std::invalid_argument(translated("Session", "Cette mesure n'existe pas."));
    for (Run& r : e.runs) {
        deriveRun(r);
        if (r.modelComputed) computeRunModel(r);
        refreshSteady(r);
    }
    runs_ = std::move(e.runs);
    active_ = e.active;
    notes_ = std::move(e.notes);
    ownColumns_ = std::move(e.ownColumns);
    resultsChoice_ = std::move(e.results);
    emit experimentReplaced();
    emit activeRunChanged(active_);
    emit measurementChanged();
    if (saved) markSaved();
    else setModified(true);
}

void Session::setNotes(const std::string& notes)
{
    if (notes == notes_) return;
    notes_ = notes;
    setModified(true);
}

void Session::markSaved()
{
    for (Run& r : runs_) r.unsavedRecording = false;
    setModified(false);
}

void Session::setModified(bool modified)
{
    if (modified == modified_) return;
    modified_ = modified;
    emit modifiedChanged(modified);
}

} // namespace pendulab
