#!/usr/bin/env bash
# Builds the Pendulab board's sketch for an Arduino Uno (ATmega328P at 16 MHz) with Debian's AVR
# toolchain and the Arduino core sources of the arduino-core-avr package.
# Usage: build-firmware.sh <output folder>   -> pendulab-board.elf and pendulab-board.hex there
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
out=${1:?usage: build-firmware.sh <output folder>}
avr=${ARDUINO_AVR_DIR:-/usr/share/arduino/hardware/arduino/avr}
core=$avr/cores/arduino
variant=$avr/variants/standard
for tool in avr-gcc avr-g++ avr-ar avr-objcopy; do
  command -v "$tool" >/dev/null || { echo "build-firmware: $tool is missing (apt-get install gcc-avr avr-libc)" >&2; exit 1; }
done
[[ -d $core ]] || { echo "build-firmware: no Arduino core in $core (apt-get install arduino-core-avr)" >&2; exit 1; }

mkdir -p "$out/core"
common=(-mmcu=atmega328p -DF_CPU=16000000L -DARDUINO=10807 -DARDUINO_AVR_UNO -DARDUINO_ARCH_AVR
        -Os -g -ffunction-sections -fdata-sections -I"$core" -I"$variant")
cxx=(-std=gnu++11 -fno-exceptions -fno-threadsafe-statics)

# The core, as the Arduino IDE builds it: an archive the linker takes only what it needs from.
# Its own files are not ours: they build without -Werror.
objects=()
for src in "$core"/*.c "$core"/*.cpp "$core"/*.S; do
  obj=$out/core/$(basename "$src").o
  case $src in
    *.c)   avr-gcc "${common[@]}" -std=gnu11 -c "$src" -o "$obj" ;;
    # GCC 5's <float.h> gives DECIMAL_DIG to C only; WString.cpp needs it in C++ (newer GCCs agree).
    *.cpp) avr-g++ "${common[@]}" "${cxx[@]}" -DDECIMAL_DIG=__DECIMAL_DIG__ -c "$src" -o "$obj" ;;
    *.S)   avr-gcc "${common[@]}" -x assembler-with-cpp -c "$src" -o "$obj" ;;
  esac
  objects+=("$obj")
done
rm -f "$out/core/core.a"
avr-ar rcs "$out/core/core.a" "${objects[@]}"

# The sketch: ours, warnings are errors.
avr-g++ "${common[@]}" "${cxx[@]}" -Wall -Wextra -Werror -x c++ \
  -c "$here/pendulab-board/pendulab-board.ino" -o "$out/pendulab-board.o"
avr-gcc -mmcu=atmega328p -Os -Wl,--gc-sections -o "$out/pendulab-board.elf" \
  "$out/pendulab-board.o" "$out/core/core.a" -lm
avr-objcopy -O ihex -R .eeprom "$out/pendulab-board.elf" "$out/pendulab-board.hex"
if command -v avr-size >/dev/null; then avr-size "$out/pendulab-board.elf"; fi
