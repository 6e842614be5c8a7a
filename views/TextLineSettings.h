#pragma once
// The serial device that prints text lines, as the user last set it: its port and the layout of
// its lines, kept in the settings under "textlines/". The first time (nothing kept) they are the
// Format's own defaults and /dev/ttyACM0; a kept value out of range (a baud not in the list, a
// column beyond MostColumns, a slope ≤ 0…) gives way to the default for that value alone.
#include <QString>

#include "acquisition/TextLines.h"

pendulab::textline::Format rememberedTextLineFormat();
void rememberTextLineFormat(const pendulab::textline::Format& format);

QString rememberedTextLinePort();
void rememberTextLinePort(const QString& port);

inline constexpr const char* DefaultTextLinePort = "/dev/ttyACM0";
