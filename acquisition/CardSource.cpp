#include "acquisition/CardSource.h"

#include <limits>
#include <vector>

#include "acquisition/AcqCore.h"
#include "acquisition/AcqData.h"
#include "core/Text.h"

namespace pendulab {

CardSource::CardSource(std::string folder, MessageSink show) : folder_(std::move(folder)), show_(std::move(show))
{
    if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
}

bool CardSource::startUp()
{
    present_ = false;
    std::string dir = folder_.empty() ? dynlib::ProgramFolder() : folder_;
#ifdef PENDULAB_LIBDIR
    // Installed from the package, the virtual card lives in the package's own library folder.
    if (!dynlib::FileExists(dir + "SysamPCI.dll")) dir = PENDULAB_LIBDIR "/";
#endif
    if (!dynlib::FileExists(dir + "SysamPCI.dll")) return false;
    if (!LoadCardDriver("SysamPCI.dll", show_, dir)) return false;
    bound_ = true;
    simulated_ = dynlib::Symbol(CardLibrary, "PendulabVirtualCard") != nullptr;
    auto& card = CardDriver;
    if ((card.SystemePresent() & 0xFF) == 0) {
        show_(translated("CardSource", "Carte SYSAM PCI absente ou hors service!"));
        return false;
    }
    card.ProgrammerEtatSysteme(2, 0);
    card.ProgrammerEtatSysteme(128, 0);
    card.ProgrammerEtatSysteme(4, 0);
    channelTable_ = {0, 255, 255};
    card.EcrireGain(0, 1);
    card.EcrireCalibreEA(0, 1);
    present_ = true;
    return true;
}

std::string CardSource::name() const
{
    return simulated_ ? translated("CardSource", "Carte SYSAM PCI (simulation)") : translated("CardSource", "Carte SYSAM PCI");
}

std::optional<std::int32_t> CardSource::timerSetting(std::int64_t periodMicroseconds)
{
    const std::int64_t setting = periodMicroseconds - 90;
    if (setting > std::numeric_limits<std::int32_t>::max() || setting < std::numeric_limits<std::int32_t>::min())
        return std::nullopt;
    return static_cast<std::int32_t>(setting);
}

std::string CardSource::cannotRecord(std::size_t, std::int64_t periodMicroseconds) const
{
    if (timerSetting(periodMicroseconds)) return {};
    return withArgs(translated("CardSource", "Durée trop longue pour la carte : %1 s. Choisissez une durée entre 1 et "
                                             "4294967 secondes."),
                    {std::to_string(periodMicroseconds / 500)});
}

std::size_t CardSource::record(std::size_t count, std::int64_t periodMicroseconds, const BlockSink& sink)
{
    auto& card = CardDriver;
    if (!present_ || card.PreparerAcquisition == nullptr || card.AcquerirTable == nullptr)
        throw SourceError(translated("CardSource", "Aucune carte d'acquisition n'est disponible."));
    const auto setting = timerSetting(periodMicroseconds);
    if (!setting) throw SourceError(cannotRecord(count, periodMicroseconds));
    stop_ = false;
    card.PreparerAcquisition(1, 1, static_cast<double>(*setting), channelTable_.data(), 0);
    recordedBench_ = bench(); // the bench this recording runs on, as the card took it at its start
    std::vector<float> volts(count);
    std::vector<double> block;
    return recordSamples(card, raw_.data(), volts, stop_, [&](std::size_t first, std::span<const float> samples) {
        block.assign(samples.begin(), samples.end());
        sink(first, block);
    });
}

void CardSource::stop()
{
    stop_ = true;
    if (bound_ && CardInterrompre != nullptr) CardInterrompre();
}

std::optional<double> CardSource::readLive()
{
    if (!present_ || CardDriver.LireEA_Entier == nullptr) return std::nullopt;
    std::int32_t code = CardDriver.LireEA_Entier(0, 10);
    code = code < 0 ? 0 : (code > 4096 ? 4096 : code);
    return static_cast<double>(codeToVolts(code));
}

std::optional<BenchSettings> CardSource::bench() const
{
    if (!bound_ || CardLireBanc == nullptr) return std::nullopt;
    double v[sysam::BenchValueCount] = {};
    if (CardLireBanc(v, sysam::BenchValueCount) != 0) return std::nullopt;
    BenchSettings b;
    b.mass = v[sysam::BenchMass];
    b.stiffness = v[sysam::BenchStiffness];
    b.friction = v[sysam::BenchFriction];
    b.amplitude = v[sysam::BenchAmplitude];
    b.equilibrium = v[sysam::BenchEquilibrium];
    b.exciter = v[sysam::BenchExciter] != 0.0;
    b.pulsation = v[sysam::BenchPulsation];
    b.exciterAmplitude = v[sysam::BenchExciterAmplitude];
    return b;
}

bool CardSource::setBench(const BenchSettings& b)
{
    if (!bound_ || CardEcrireBanc == nullptr || !benchRefusal(b).empty()) return false;
    double v[sysam::BenchValueCount] = {};
    v[sysam::BenchMass] = b.mass;
    v[sysam::BenchStiffness] = b.stiffness;
    v[sysam::BenchFriction] = b.friction;
    v[sysam::BenchAmplitude] = b.amplitude;
    v[sysam::BenchEquilibrium] = b.equilibrium;
    v[sysam::BenchExciter] = b.exciter ? 1.0 : 0.0;
    v[sysam::BenchPulsation] = b.pulsation;
    v[sysam::BenchExciterAmplitude] = b.exciterAmplitude;
    return CardEcrireBanc(v, sysam::BenchValueCount) == 0;
}

} // namespace pendulab
