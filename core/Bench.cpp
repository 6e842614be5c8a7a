#include "core/Bench.h"

#include <cmath>

#include "core/Text.h"

namespace pendulab {

std::string benchRefusal(const BenchSettings& b)
{
    for (double v : {b.mass, b.stiffness, b.friction, b.amplitude, b.equilibrium, b.pulsation, b.exciterAmplitude})
        if (!std::isfinite(v)) return translated("Bench", "Chaque valeur du banc doit être un nombre.");
    if (!(b.mass > 0.0)) return translated("Bench", "La masse doit être supérieure à 0 kg.");
    if (b.stiffness < 0.0) return translated("Bench", "La raideur ne peut pas être négative.");
    if (b.friction < 0.0) return translated("Bench", "Le frottement ne peut pas être négatif.");
    if (!(b.pulsation > 0.0)) return translated("Bench", "La pulsation de l'excitateur doit être supérieure à 0 rad/s.");
    return {};
}

} // namespace pendulab
