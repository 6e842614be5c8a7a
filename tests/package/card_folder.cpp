// The program finds the virtual card in its install folder when it is not in the folder it was
// given: here CardSource is compiled with the build's bin folder standing in for the install folder.
#include <cstdio>
#include <string>

#include "acquisition/CardSource.h"

int main(int argc, char* argv[])
{
    if (argc != 2) return 2;
    std::string shown;
    pendulab::CardSource card(argv[1], [&](const std::string& m) { shown += m; });
    const bool started = card.startUp();
    std::printf("startUp: %d, %s, messages: [%s]\n", started, card.name().c_str(), shown.c_str());
    return started && card.present() && card.name() == "Carte SYSAM PCI (simulation)" && shown.empty() ? 0 : 1;
}
