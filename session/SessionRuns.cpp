// The experiment's list of runs: their names, colours and shown flags, what is left unsaved, and
// the limits of its size.
#include <algorithm>
#include <array>
#include <numeric>
#include <stdexcept>

#include "core/Text.h"
#include "session/Session.h"

namespace pendulab {

namespace {

// Light colours, each readable on the chart's grey under the active run's blue.
constexpr std::array<std::uint32_t, 8> kRunColours = {0x5FB85F, 0xE8914F, 0xB07CD0, 0x4FB3C8,
                                                       0xD87A8C, 0xB5A33E, 0x8C9EE0, 0x6FC7A4};

constexpr std::size_t MostNameCharacters = 80;

} // namespace

Run& Session::at(int index)
{
    if (index < 0 || index >= runCount()) throw std::out_of_range(translated("Session", "Cette mesure n'existe pas."));
    return runs_[static_cast<std::size_t>(index)];
}

std::size_t Session::totalSamples() const
{
    return std::accumulate(runs_.begin(), runs_.end(), std::size_t{0},
                           [](std::size_t sum, const Run& r) { return sum + r.measurement.size(); });
}

std::string Session::refusalOfTotals(int runs, std::size_t samples) const
{
    if (runs > MostRuns)
        return withArgs(translated("Session", "L'expérience compte déjà %1 mesures : supprimez-en avant d'en ajouter une."),
                        {std::to_string(MostRuns)});
    if (samples > MostExperimentSamples)
        return withArgs(translated("Session", "L'expérience dépasserait %1 points en tout : supprimez des mesures avant d'en ajouter une."),
                        {std::to_string(MostExperimentSamples)});
    return {};
}

std::string Session::refusalToAdd(std::size_t samples) const
{
    return refusalOfTotals(runCount() + 1, totalSamples() + samples);
}

std::string Session::defaultName() const
{
    const std::string pattern = translated("Session", "Mesure %1");
    for (int n = runCount() + 1;; ++n) {
        std::string name = withArgs(pattern, {std::to_string(n)});
        if (std::none_of(runs_.begin(), runs_.end(), [&](const Run& r) { return r.name == name; })) return name;
    }
}

std::uint32_t Session::freeColour() const
{
    for (std::uint32_t c : kRunColours)
        if (std::none_of(runs_.begin(), runs_.end(), [c](const Run& r) { return r.colour == c; })) return c;
    return kRunColours[runs_.size() % kRunColours.size()];
}

void Session::renameRun(int index, const std::string& name)
{
    Run& run = at(index);
    std::string clean = trimmedText(name);
    if (clean.empty()) throw std::invalid_argument(translated("Session", "Le nom d'une mesure ne peut pas être vide."));
    if (characterCount(clean) > MostNameCharacters)
        throw std::invalid_argument(withArgs(translated("Session", "Le nom d'une mesure compte au plus %1 caractères."),
                                             {std::to_string(MostNameCharacters)}));
    if (clean == run.name) return;
    run.name = std::move(clean);
    emit runDescribed(index);
}

void Session::setRunShown(int index, bool shown)
{
    Run& run = at(index);
    if (run.shown == shown) return;
    run.shown = shown;
    emit runDescribed(index);
    if (index != active_) emit othersChanged();
}

void Session::setRunColour(int index, std::uint32_t rgb)
{
    Run& run = at(index);
    rgb &= 0xFFFFFFu;
    if (run.colour == rgb) return;
    run.colour = rgb;
    emit runDescribed(index);
    if (index != active_ && run.shown) emit othersChanged();
}

void Session::markRunSaved(int index)
{
    at(index).unsavedRecording = false;
}

bool Session::hasUnsavedRecording() const
{
    return std::any_of(runs_.begin(), runs_.end(), [](const Run& r) { return r.unsavedRecording; });
}

} // namespace pendulab
