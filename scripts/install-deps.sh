#!/usr/bin/env bash
# Installs the Debian packages Pendulab needs to build, run and test.
# Fast when everything is present: it only asks dpkg, and runs apt-get only for what is missing.
set -euo pipefail

PACKAGES=(
  g++ make cmake pkgconf
  qt6-base-dev          # Qt 6 Widgets, PrintSupport, the JPEG plugin (libqt6gui6) and offscreen platform
  qt6-qpa-plugins       # xcb platform plugin to open real windows
  libqcustomplot-dev    # charts (Qt 6 build: QCustomPlotQt6)
  libgl-dev             # OpenGL headers that Qt6Gui's CMake config asks for
  libgtest-dev libgmock-dev
  libbenchmark-dev
  python3 python3-xlrd  # an independent reader of the exported spreadsheets, used by the tests
  xvfb xauth xdotool imagemagick  # a virtual display and the tools of `make screenshot`
  fonts-dejavu-core
  at-spi2-core dbus python3-pyatspi gir1.2-atspi-2.0  # the screen-reader test reads the accessibility tree
)

# Each subsystem may name further packages in scripts/deps/*.txt (one a line, '#' comments).
here=$(dirname "$0")
for list in "$here"/deps/*.txt; do
  [[ -e "$list" ]] || continue
  while read -r p _; do
    [[ -n "$p" && "$p" != \#* ]] && PACKAGES+=("$p")
  done < "$list"
done

missing=()
for p in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null || true)
  [[ "$status" == ii* ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Pendulab: installing ${missing[*]}"
SUDO=()
if [[ $(id -u) -ne 0 ]]; then
  if command -v sudo >/dev/null 2>&1; then
    SUDO=(sudo)
  else
    echo "Pendulab needs these packages; as root run:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
