#include "acquisition/AcqData.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "core/Text.h"

namespace pendulab {

CardDriverTable CardDriver;
dynlib::Handle CardLibrary = nullptr;
std::int32_t CardSystemCode = 0;
sysam::InterrompreFn CardInterrompre = nullptr;
sysam::EcrireBancFn CardEcrireBanc = nullptr;
sysam::LireBancFn CardLireBanc = nullptr;

static_assert(sizeof(CardDriverTable) == sysam::EntryCount * sizeof(void*),
              "one slot per entry point, in binding order");

void** CardDriverTable::slot(int index)
{
    return reinterpret_cast<void**>(reinterpret_cast<char*>(this) + static_cast<std::size_t>(index) * sizeof(void*));
}

int CardDriverTable::boundCount() const
{
    int n = 0;
    auto* self = const_cast<CardDriverTable*>(this);
    for (int i = 0; i < sysam::EntryCount; ++i) n += *self->slot(i) != nullptr;
    return n;
}

std::string CardDriverFileName(const std::string& name)
{
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper.find(".DLL") == std::string::npos ? name + ".DLL" : name;
}

bool LoadCardDriver(const std::string& name, const MessageSink& show, const std::string& firstFolder)
{
    CardSystemCode = 0;
    CardDriver = CardDriverTable{};
    CardInterrompre = nullptr;
    CardEcrireBanc = nullptr;
    CardLireBanc = nullptr;
    if (name.empty()) return false;
    const std::string fileName = CardDriverFileName(name);
    CardLibrary = dynlib::Load(fileName, firstFolder.empty() ? dynlib::ProgramFolder() : firstFolder);
    if (CardLibrary == nullptr) {
        show(withArgs(translated("CardDriver", "Fichier %1 introuvable"), {fileName}));
        return false;
    }
    // All or nothing: the entry points are bound into a table of their own, which replaces the
    // program's only when every name was found.
    CardDriverTable bound;
    dynlib::SetLastError(0);
    for (int i = 0; i < sysam::EntryCount; ++i) {
        void* p = dynlib::Symbol(CardLibrary, sysam::EntryNames[i]);
        std::memcpy(bound.slot(i), &p, sizeof p);
    }
    if (dynlib::GetLastError() != 0) {
        CardDriver = CardDriverTable{};
        show(withArgs(translated("CardDriver", "Erreur lors du chargement de %1"), {fileName}));
        return false;
    }
    CardDriver = bound;
    void* interrompre = dynlib::Symbol(CardLibrary, sysam::InterrompreName); // optional
    std::memcpy(&CardInterrompre, &interrompre, sizeof interrompre);
    void* write = dynlib::Symbol(CardLibrary, sysam::EcrireBancName);
    void* read = dynlib::Symbol(CardLibrary, sysam::LireBancName);
    if (write != nullptr && read != nullptr) { // both or neither
        std::memcpy(&CardEcrireBanc, &write, sizeof write);
        std::memcpy(&CardLireBanc, &read, sizeof read);
    }
    dynlib::SetLastError(0); // their absence is no failure
    CardSystemCode = CardDriver.RenvoyerSysteme();
    (void)CardDriver.SystemePresent();
    return true;
}

} // namespace pendulab
