// The graph of one result against another across runs, and the law through its points.
#include <cmath>

#include "core/FormatCore.h"
#include "core/Text.h"
#include "session/Results.h"

namespace pendulab {

namespace {

bool simple(std::string_view s)
{
    return s.find_first_of("/·() ") == std::string_view::npos && s.find("²") == std::string_view::npos;
}
std::string grouped(std::string_view s) { return simple(s) ? std::string(s) : std::string("(").append(s).append(")"); }

std::string squared(std::string_view s) { return s.empty() ? std::string() : grouped(s).append("²"); }
std::string rooted(std::string_view s) { return s.empty() ? std::string() : std::string("√").append(grouped(s)); }
std::string inverse(std::string_view s) { return std::string("1/").append(grouped(s)); }

std::string coefficientLine(std::string_view name, const LawCoefficient& c, std::string_view unit, std::string_view sep)
{
    std::string s(name);
    s.append(" = ").append(formatMeasured(c.value, c.sigma, 4, sep));
    if (!unit.empty()) s.append(" ").append(unit);
    return s;
}

} // namespace

std::vector<AxisChoice> axisChoices(const ResultsTable& table)
{
    std::vector<AxisChoice> out;
    for (std::size_t q = 0; q < table.quantities.size(); ++q) {
        const std::string& s = table.quantities[q].symbol;
        const std::string& u = table.quantities[q].unit;
        out.push_back({q, Transform::Identity, s, u});
        out.push_back({q, Transform::Square, squared(s), squared(u)});
        out.push_back({q, Transform::Inverse, inverse(s), unitQuotient("", u)});
        out.push_back({q, Transform::SquareRoot, rooted(s), rooted(u)});
    }
    return out;
}

std::optional<AxisChoice> axisChoice(const ResultsTable& table, std::string_view label)
{
    for (AxisChoice& c : axisChoices(table))
        if (c.label == label) return c;
    return std::nullopt;
}

ResultPoints resultPoints(const ResultsTable& table, const AxisChoice& x, const AxisChoice& y)
{
    ResultPoints p;
    // A steady state is measured whatever the run's model: against another of its values, or
    // against a value the student gives (D, m, an own column), its points are measured ones.
    const auto steady = [](std::size_t q) { return q >= PulsationQuantity && q < PulsationQuantity + SteadyQuantities; };
    const auto fromModel = [](std::size_t q) { return q >= 2 && q < PulsationQuantity; };
    const bool measuredPair = (steady(x.quantity) || steady(y.quantity)) && !fromModel(x.quantity) && !fromModel(y.quantity);
    for (std::size_t r = 0; r < table.values.size(); ++r) {
        const ResultValue& vx = table.values[r].at(x.quantity);
        const ResultValue& vy = table.values[r].at(y.quantity);
        const Valued tx = transformed(x.transform, {vx.value, vx.sigma});
        const Valued ty = transformed(y.transform, {vy.value, vy.sigma});
        if (!std::isfinite(tx.value) || !std::isfinite(ty.value)) continue;
        p.x.push_back(tx.value);
        p.y.push_back(ty.value);
        p.sigmaX.push_back(tx.sigma);
        p.sigmaY.push_back(ty.sigma);
        p.runs.push_back(r);
        p.fitted.push_back(table.fitted[r] || measuredPair);
    }
    p.phaseOrdinate = y.transform == Transform::Identity && y.quantity == PhaseQuantity;
    return p;
}

LawFit fitResults(const ResultPoints& points, LawKind kind)
{
    if (kind == LawKind::None) return {};
    if (kind == LawKind::Resonance && points.phaseOrdinate) kind = LawKind::ResonancePhase;
    return fitLaw(kind, points.x, points.y, points.sigmaY);
}

std::vector<std::string> lawReport(const LawFit& law, const AxisChoice& x, const AxisChoice& y, std::string_view sep)
{
    if (law.kind == LawKind::None) return {};
    if (!law.ok) return {law.message};
    std::vector<std::string> out;
    switch (law.kind) {
    case LawKind::Proportional:
        out = {std::string(y.label).append(" = a·").append(x.label), coefficientLine("a", law.a, unitQuotient(y.unit, x.unit), sep)};
        break;
    case LawKind::Affine:
        out = {std::string(y.label).append(" = a·").append(x.label).append(" + b"), coefficientLine("a", law.a, unitQuotient(y.unit, x.unit), sep),
               coefficientLine("b", law.b, y.unit, sep)};
        break;
    case LawKind::Power:
        out = {std::string(y.label).append(" = a·").append(grouped(x.label)).append("^n"), coefficientLine("a", law.a, {}, sep),
               coefficientLine("n", law.n, {}, sep)};
        break;
    case LawKind::Resonance: {
        const std::string w = x.label;
        out = {std::string(y.label).append(" = A₀·ω0²/√((ω0² − ").append(w).append("²)² + (ω0·").append(w).append("/Q)²)"),
               coefficientLine("ω0", law.omega0, x.unit, sep), coefficientLine("Q", law.quality, {}, sep),
               coefficientLine("A₀", law.a, y.unit, sep)};
        break;
    }
    case LawKind::ResonancePhase:
        out = {std::string(y.label).append(" = −atan2(ω0·").append(x.label).append("/Q, ω0² − ").append(x.label).append("²)"),
               coefficientLine("ω0", law.omega0, x.unit, sep), coefficientLine("Q", law.quality, {}, sep)};
        break;
    case LawKind::None:
        break;
    }
    if (!law.weighted)
        out.push_back(translated("Results", "Moindres carrés ordinaires : un point au moins n'a pas de σ."));
    else if (law.scaled)
        out.push_back(withArgs(translated("Results", "Pondérée par les σ ; σ multipliés par √(χ²/ν) = %1."),
                               {formatSignificant(std::sqrt(law.chi2PerDof), 3, sep)}));
    else
        out.push_back(withArgs(translated("Results", "Pondérée par les σ (χ²/ν = %1)."),
                               {formatSignificant(law.chi2PerDof, 3, sep)}));
    out.push_back(withArgs(translated("Results", "%1 points"), {std::to_string(law.points)}));
    return out;
}

} // namespace pendulab
