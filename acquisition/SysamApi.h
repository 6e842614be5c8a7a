#pragma once
// The entry points of the card driver library "SysamPCI.dll", in binding order.
#include <cstdint>

#if defined(_WIN32)
#define SYSAM_CALL __stdcall
#else
#define SYSAM_CALL
#endif

namespace pendulab::sysam {

using Fn = void(SYSAM_CALL*)();                         // entry points we only bind
using SystemePresentFn = std::int32_t(SYSAM_CALL*)();  // nonzero low byte: card present
using RenvoyerSystemeFn = std::int32_t(SYSAM_CALL*)();
using TwoIntsFn = std::int32_t(SYSAM_CALL*)(std::int32_t, std::int32_t);
using LireEAEntierFn = std::int32_t(SYSAM_CALL*)(std::int32_t channel, std::int32_t mode);
using PreparerAcquisitionFn = std::int32_t(SYSAM_CALL*)(std::int32_t, std::int32_t, double timerSetting,
                                                         std::uint8_t* channelTable, std::int32_t);
using AcquerirTableFn = std::int32_t(SYSAM_CALL*)(std::int16_t* table, std::int32_t* scratch);

inline constexpr int EntryCount = 41;
inline constexpr const char* EntryNames[EntryCount] = {
    "SystemePresent", "RenvoyerSysteme", "LireInfos", "OkEtatSysteme", "ProgrammerEtatSysteme",
    "EcrireTempo", "LireTempo", "ProgrammerTimer", "ValiderTimer", "DevaliderTimer", "LireTimer",
    "LimitesCalibreEA", "LireCalibreEA", "EcrireCalibreEA", "LireGain", "EcrireGain",
    "ProgrammerAccesRapide", "LireEA_Entier", "LireEA_Reel", "BinVoltEA", "VoltBinEA",
    "LimitesCalibreSA", "LireCalibreSA", "EcrireCalibreSA", "EcrireSA_Entier", "EcrireSA_Reel",
    "BinVoltSA", "VoltBinSA", "LirePort", "EcrirePort", "LireBit", "EcrireBit", "LireSensPort",
    "ProgrammerSensPort", "PreparerAcquisition", "AcquerirTable", "ProgrammerDeclenchement",
    "Declencher", "PreparerEmission", "EmettreSorties", "FermetureDLL"};

// Our own entry point, beside the driver's 41 and bound only when present (the real card's driver
// does not have it): it wakes an AcquerirTable waiting for its sample, which then returns
// AcquisitionInterrupted at once, without a sample, as do those that follow until the next
// PreparerAcquisition.
using InterrompreFn = std::int32_t(SYSAM_CALL*)();
inline constexpr const char* InterrompreName = "PendulabInterrompre";
inline constexpr std::int32_t AcquisitionInterrupted = -1;

} // namespace pendulab::sysam

namespace pendulab::sysam {

// Our simulated bench, beside the driver's 41 and bound only when present: the pendulum and the
// exciter of the recordings that follow, as BenchValueCount doubles in BenchValue's order
// (exciter: 1 on, 0 off). Writing returns 0 when the values are taken, -1 when they are refused
// (no pendulum, or too few values), and they then stay as they were; writing (nullptr, 0) goes
// back to the card's own pendulum (its environment's). Reading returns 0.
enum BenchValue : int {
    BenchMass, BenchStiffness, BenchFriction, BenchAmplitude, BenchEquilibrium, BenchExciter, BenchPulsation,
    BenchExciterAmplitude, BenchValueCount
};
using EcrireBancFn = std::int32_t(SYSAM_CALL*)(const double* values, std::int32_t count);
using LireBancFn = std::int32_t(SYSAM_CALL*)(double* values, std::int32_t count);
inline constexpr const char* EcrireBancName = "PendulabEcrireBanc";
inline constexpr const char* LireBancName = "PendulabLireBanc";

} // namespace pendulab::sysam
