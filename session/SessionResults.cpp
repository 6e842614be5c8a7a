// The results across runs as the session holds them: the table, the student's own columns.
#include <cmath>
#include <stdexcept>

#include "core/Text.h"
#include "session/Session.h"

namespace pendulab {

ResultsTable Session::results() const { return resultsTable(runs_, ownColumns_, shownUnit()); }

void Session::addOwnColumn(const std::string& name, const std::string& unit)
{
    const std::string trimmed = trimmedText(name);
    if (trimmed.empty()) throw std::invalid_argument(translated("Session", "Donnez un nom à la colonne."));
    if (characterCount(trimmed) > 40 || characterCount(unit) > 20)
        throw std::invalid_argument(translated("Session", "Ce nom ou cette unité est trop long."));
    for (const ResultQuantity& q : results().quantities)
        if (q.symbol == trimmed)
            throw std::invalid_argument(withArgs(translated("Session", "Une colonne « %1 » existe déjà."), {trimmed}));
    ownColumns_.push_back({trimmed, trimmedText(unit)});
    emit resultsChanged();
    setModified(true);
}

void Session::setOwnValue(int run, int column, std::optional<double> value)
{
    Run& r = at(run);
    if (column < 0 || column >= static_cast<int>(ownColumns_.size()))
        throw std::out_of_range(translated("Session", "Cette colonne n'existe pas."));
    if (value && !std::isfinite(*value)) throw std::invalid_argument(translated("Session", "Cette valeur n'est pas un nombre."));
    const auto c = static_cast<std::size_t>(column);
    if (r.ownValues.size() <= c) r.ownValues.resize(c + 1);
    if (r.ownValues[c] == value) return;
    r.ownValues[c] = value;
    emit resultsChanged();
    setModified(true);
}

void Session::setResultsChoice(const ResultsChoice& choice)
{
    if (choice == resultsChoice_) return;
    resultsChoice_ = choice;
    emit resultsChanged();
    setModified(true);
}

} // namespace pendulab
