// Our own "SysamPCI.dll": the 41 entry points of the card driver, over a simulated pendulum, and
// four of our own (PendulabVirtualCard, PendulabInterrompre, PendulabEcrireBanc, PendulabLireBanc).
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "acquisition/SysamApi.h"
#include "virtualcard/Pendulum.h"

#if defined(_WIN32)
#define SYSAM_EXPORT extern "C" __declspec(dllexport)
#else
#define SYSAM_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

using Clock = std::chrono::steady_clock;

struct Card {
    std::unique_ptr<virtualcard::Pendulum> pendulum;
    Clock::time_point releasedAt{};
    double period = 0.005; // seconds between samples
    long sampleIndex = 0;
    // The bench as the program set it (PendulabEcrireBanc), over the environment's pendulum.
    std::optional<virtualcard::PendulumSettings> bench;
};

std::mutex cardMutex;
Card& card()
{
    static Card c;
    return c;
}

// The wait of a paced AcquerirTable for its sample's instant, which PendulabInterrompre can cut
// short. It has a lock of its own: the waiting call holds cardMutex, the wake-up never takes it.
struct Wake {
    std::mutex mutex;
    std::condition_variable cv;
    bool interrupted = false; // from PendulabInterrompre until the next PreparerAcquisition
};
Wake& wake()
{
    static Wake w;
    return w;
}

// Waits until `instant`; false when the wait was (or had already been) interrupted.
bool waitForInstant(Clock::time_point instant)
{
    Wake& w = wake();
    std::unique_lock lock(w.mutex);
    return !w.cv.wait_until(lock, instant, [&w] { return w.interrupted; });
}

// The environment's pendulum, with the bench's values when the program set them (its noise,
// seed and pace stay the environment's). Called with cardMutex held.
virtualcard::PendulumSettings freshSettings()
{
    std::vector<std::string> warnings;
    auto s = virtualcard::settingsFromEnvironment(warnings);
    for (const auto& w : warnings) std::fprintf(stderr, "%s\n", w.c_str());
    if (const auto& b = card().bench) {
        s.mass = b->mass;
        s.stiffness = b->stiffness;
        s.friction = b->friction;
        s.amplitude = b->amplitude;
        s.equilibrium = b->equilibrium;
        s.exciter = b->exciter;
        s.exciterPulsation = b->exciterPulsation;
        s.exciterAmplitude = b->exciterAmplitude;
    }
    return s;
}

virtualcard::Pendulum& pendulum()
{
    Card& c = card();
    if (!c.pendulum) c.pendulum = std::make_unique<virtualcard::Pendulum>(freshSettings());
    return *c.pendulum;
}

template <class... Args> void logCall(const char* name, const char* format = "", Args... args)
{
    const char* path = std::getenv("VIRTUALCARD_LOG");
    if (path == nullptr || *path == '\0') return;
    if (FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%s(", name);
        if constexpr (sizeof...(Args) > 0) std::fprintf(f, format, args...);
        std::fprintf(f, ")\n");
        std::fclose(f);
    }
}

bool absent()
{
    const char* a = std::getenv("VIRTUALCARD_ABSENT");
    return a != nullptr && std::string(a) == "1";
}

} // namespace

#if !defined(VIRTUALCARD_DRIVER_ENTRIES_ONLY)
// Tells Pendulab that this card is simulated, so that its recordings say so.
SYSAM_EXPORT std::int32_t SYSAM_CALL PendulabVirtualCard() { return 1; }

// Ends the wait of an AcquerirTable in progress, and of those that follow until the next
// PreparerAcquisition: each returns sysam::AcquisitionInterrupted at once, without a sample.
SYSAM_EXPORT std::int32_t SYSAM_CALL PendulabInterrompre()
{
    logCall("PendulabInterrompre");
    {
        std::lock_guard lock(wake().mutex);
        wake().interrupted = true;
    }
    wake().cv.notify_all();
    return 0;
}

// The bench of the recordings that follow (the one in progress keeps its own).
SYSAM_EXPORT std::int32_t SYSAM_CALL PendulabEcrireBanc(const double* v, std::int32_t count)
{
    using namespace pendulab::sysam;
    if (v == nullptr && count == 0) { // back to the environment's pendulum
        logCall("PendulabEcrireBanc", "environment");
        std::lock_guard lock(cardMutex);
        card().bench.reset();
        return 0;
    }
    if (v == nullptr || count < BenchValueCount) {
        logCall("PendulabEcrireBanc", "refused");
        return -1;
    }
    logCall("PendulabEcrireBanc", "mass=%g,stiffness=%g,friction=%g,amplitude=%g,equilibrium=%g,exciter=%g,pulsation=%g,"
                                  "exciterAmplitude=%g",
            v[BenchMass], v[BenchStiffness], v[BenchFriction], v[BenchAmplitude], v[BenchEquilibrium], v[BenchExciter],
            v[BenchPulsation], v[BenchExciterAmplitude]);
    std::lock_guard lock(cardMutex);
    virtualcard::PendulumSettings s = freshSettings();
    s.mass = v[BenchMass];
    s.stiffness = v[BenchStiffness];
    s.friction = v[BenchFriction];
    s.amplitude = v[BenchAmplitude];
    s.equilibrium = v[BenchEquilibrium];
    s.exciter = v[BenchExciter] != 0.0;
    s.exciterPulsation = v[BenchPulsation];
    s.exciterAmplitude = v[BenchExciterAmplitude];
    if (!virtualcard::physical(s) || !std::isfinite(v[BenchExciter])) return -1;
    card().bench = s;
    return 0;
}

SYSAM_EXPORT std::int32_t SYSAM_CALL PendulabLireBanc(double* v, std::int32_t count)
{
    using namespace pendulab::sysam;
    logCall("PendulabLireBanc");
    if (v == nullptr || count < BenchValueCount) return -1;
    std::lock_guard lock(cardMutex);
    const virtualcard::PendulumSettings s = freshSettings();
    v[BenchMass] = s.mass;
    v[BenchStiffness] = s.stiffness;
    v[BenchFriction] = s.friction;
    v[BenchAmplitude] = s.amplitude;
    v[BenchEquilibrium] = s.equilibrium;
    v[BenchExciter] = s.exciter ? 1.0 : 0.0;
    v[BenchPulsation] = s.exciterPulsation;
    v[BenchExciterAmplitude] = s.exciterAmplitude;
    return 0;
}
#endif

SYSAM_EXPORT std::int32_t SYSAM_CALL SystemePresent()
{
    logCall("SystemePresent");
    return absent() ? 0 : 1;
}

SYSAM_EXPORT std::int32_t SYSAM_CALL RenvoyerSysteme()
{
    logCall("RenvoyerSysteme");
    return 1; // a single PCI card
}

SYSAM_EXPORT std::int32_t SYSAM_CALL ProgrammerEtatSysteme(std::int32_t state, std::int32_t arg)
{
    logCall("ProgrammerEtatSysteme", "%d,%d", state, arg);
    return 0;
}

SYSAM_EXPORT std::int32_t SYSAM_CALL EcrireCalibreEA(std::int32_t channel, std::int32_t calibre)
{
    logCall("EcrireCalibreEA", "%d,%d", channel, calibre);
    return 0;
}

SYSAM_EXPORT std::int32_t SYSAM_CALL EcrireGain(std::int32_t channel, std::int32_t gain)
{
    logCall("EcrireGain", "%d,%d", channel, gain);
    return 0;
}

SYSAM_EXPORT std::int32_t SYSAM_CALL LireEA_Entier(std::int32_t channel, std::int32_t mode)
{
    logCall("LireEA_Entier", "%d,%d", channel, mode);
    std::lock_guard lock(cardMutex);
    Card& c = card();
    auto& p = pendulum();
    const double t = std::chrono::duration<double>(Clock::now() - c.releasedAt).count();
    return p.codeAt(p.released() ? t : 0.0);
}

SYSAM_EXPORT std::int32_t SYSAM_CALL PreparerAcquisition(std::int32_t a, std::int32_t b, double timerSetting,
                                                          std::uint8_t* channels, std::int32_t c)
{
    logCall("PreparerAcquisition", "%d,%d,%.0f,%d,%d,%d,%d", a, b, timerSetting,
            channels ? channels[0] : -1, channels ? channels[1] : -1, channels ? channels[2] : -1, c);
    std::lock_guard lock(cardMutex);
    Card& cd = card();
    cd.pendulum = std::make_unique<virtualcard::Pendulum>(freshSettings());
    cd.pendulum->release();
    cd.period = (timerSetting + 90.0) * 1e-6;
    if (!(cd.period > 0.0)) cd.period = 1e-6;
    cd.sampleIndex = 0;
    cd.releasedAt = Clock::now();
    std::lock_guard wakeLock(wake().mutex);
    wake().interrupted = false;
    return 0;
}

SYSAM_EXPORT std::int32_t SYSAM_CALL AcquerirTable(std::int16_t* table, std::int32_t* scratch)
{
    std::lock_guard lock(cardMutex);
    Card& cd = card();
    auto& p = pendulum();
    const double t = static_cast<double>(cd.sampleIndex) * cd.period;
    const auto instant = cd.releasedAt + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(t));
    if (p.settings().paced && !waitForInstant(instant)) {
        if (std::getenv("VIRTUALCARD_LOG") != nullptr) logCall("AcquerirTable");
        return pendulab::sysam::AcquisitionInterrupted;
    }
    if (table != nullptr) {
        table[0] = 0;
        table[1] = static_cast<std::int16_t>(p.codeAt(t));
    }
    if (scratch != nullptr) *scratch = 1;
    ++cd.sampleIndex;
    if (std::getenv("VIRTUALCARD_LOG") != nullptr) logCall("AcquerirTable");
    return 0;
}

// Entry points the program binds but never calls.
#define VIRTUALCARD_STUB(name) \
    SYSAM_EXPORT void SYSAM_CALL name() { logCall(#name); }

VIRTUALCARD_STUB(LireInfos)
VIRTUALCARD_STUB(OkEtatSysteme)
VIRTUALCARD_STUB(EcrireTempo)
VIRTUALCARD_STUB(LireTempo)
VIRTUALCARD_STUB(ProgrammerTimer)
VIRTUALCARD_STUB(ValiderTimer)
VIRTUALCARD_STUB(DevaliderTimer)
VIRTUALCARD_STUB(LireTimer)
VIRTUALCARD_STUB(LimitesCalibreEA)
VIRTUALCARD_STUB(LireCalibreEA)
VIRTUALCARD_STUB(LireGain)
VIRTUALCARD_STUB(ProgrammerAccesRapide)
VIRTUALCARD_STUB(LireEA_Reel)
VIRTUALCARD_STUB(BinVoltEA)
VIRTUALCARD_STUB(VoltBinEA)
VIRTUALCARD_STUB(LimitesCalibreSA)
VIRTUALCARD_STUB(LireCalibreSA)
VIRTUALCARD_STUB(EcrireCalibreSA)
VIRTUALCARD_STUB(EcrireSA_Entier)
VIRTUALCARD_STUB(EcrireSA_Reel)
VIRTUALCARD_STUB(BinVoltSA)
VIRTUALCARD_STUB(VoltBinSA)
VIRTUALCARD_STUB(LirePort)
VIRTUALCARD_STUB(EcrirePort)
VIRTUALCARD_STUB(LireBit)
VIRTUALCARD_STUB(EcrireBit)
VIRTUALCARD_STUB(LireSensPort)
VIRTUALCARD_STUB(ProgrammerSensPort)
VIRTUALCARD_STUB(ProgrammerDeclenchement)
VIRTUALCARD_STUB(Declencher)
VIRTUALCARD_STUB(PreparerEmission)
VIRTUALCARD_STUB(EmettreSorties)
#if !defined(VIRTUALCARD_WITHOUT_FERMETURE)
VIRTUALCARD_STUB(FermetureDLL)
#endif
