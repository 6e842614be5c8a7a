#pragma once
// Binding of the card driver library: LoadCardDriver and the 41 entry points.
#include <cstdint>
#include <functional>
#include <string>

#include "acquisition/DynLib.h"
#include "acquisition/SysamApi.h"

namespace pendulab {

struct CardDriverTable {
    sysam::SystemePresentFn SystemePresent = nullptr;
    sysam::RenvoyerSystemeFn RenvoyerSysteme = nullptr;
    sysam::Fn LireInfos = nullptr;
    sysam::Fn OkEtatSysteme = nullptr;
    sysam::TwoIntsFn ProgrammerEtatSysteme = nullptr;
    sysam::Fn EcrireTempo = nullptr, LireTempo = nullptr, ProgrammerTimer = nullptr, ValiderTimer = nullptr,
              DevaliderTimer = nullptr, LireTimer = nullptr, LimitesCalibreEA = nullptr, LireCalibreEA = nullptr;
    sysam::TwoIntsFn EcrireCalibreEA = nullptr;
    sysam::Fn LireGain = nullptr;
    sysam::TwoIntsFn EcrireGain = nullptr;
    sysam::Fn ProgrammerAccesRapide = nullptr;
    sysam::LireEAEntierFn LireEA_Entier = nullptr;
    sysam::Fn LireEA_Reel = nullptr, BinVoltEA = nullptr, VoltBinEA = nullptr, LimitesCalibreSA = nullptr,
              LireCalibreSA = nullptr, EcrireCalibreSA = nullptr, EcrireSA_Entier = nullptr, EcrireSA_Reel = nullptr,
              BinVoltSA = nullptr, VoltBinSA = nullptr, LirePort = nullptr, EcrirePort = nullptr, LireBit = nullptr,
              EcrireBit = nullptr, LireSensPort = nullptr, ProgrammerSensPort = nullptr;
    sysam::PreparerAcquisitionFn PreparerAcquisition = nullptr;
    sysam::AcquerirTableFn AcquerirTable = nullptr;
    sysam::Fn ProgrammerDeclenchement = nullptr, Declencher = nullptr, PreparerEmission = nullptr,
              EmettreSorties = nullptr, FermetureDLL = nullptr;

    // The slot of entry point number `index` (0-based, binding order) as raw storage.
    void** slot(int index);
    int boundCount() const;
};

// Process-wide state of the binding.
extern CardDriverTable CardDriver;
extern dynlib::Handle CardLibrary;   // zero until a load succeeds; never unloaded
extern std::int32_t CardSystemCode;  // RenvoyerSysteme's answer after a complete binding
// Our virtual card's wake-up of a wait for a sample (sysam::InterrompreName); null when the library
// has none, as the real card's driver, which is no error.
extern sysam::InterrompreFn CardInterrompre;
// Our virtual card's bench (sysam::EcrireBancName, sysam::LireBancName); null without one.
extern sysam::EcrireBancFn CardEcrireBanc;
extern sysam::LireBancFn CardLireBanc;

using MessageSink = std::function<void(const std::string&)>;

// Loads and binds the driver library; true only when it loaded and all 41 names were found (then
// CardInterrompre and the bench's too when the library has them). Shows its own messages through `show` on failure.
// A bare name is looked for in `firstFolder` (the program's own folder when empty) first.
bool LoadCardDriver(const std::string& name, const MessageSink& show, const std::string& firstFolder = {});

// The file name LoadCardDriver loads for `name`: ".DLL" is appended unless the name holds it.
std::string CardDriverFileName(const std::string& name);

} // namespace pendulab
