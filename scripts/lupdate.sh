#!/usr/bin/env bash
# Refreshes a Qt Linguist file from Pendulab's sources: every text the user sees, whether it goes
# through tr() / QCoreApplication::translate in the windows or through pendulab::translated in
# the plain C++ cores (core/Text.h). French is the source language.
# Usage: lupdate.sh <file.ts> [lupdate options...]   (the file's name gives the target language)
set -euo pipefail
ts=${1:?file.ts}
shift
root=$(cd "$(dirname "$0")/.." && pwd)
lupdate=${LUPDATE:-}
if [[ -z $lupdate ]]; then
  for candidate in /usr/lib/qt6/bin/lupdate "$(command -v lupdate6 || true)" "$(command -v lupdate || true)"; do
    [[ -n $candidate && -x $candidate ]] && { lupdate=$candidate; break; }
  done
fi
[[ -n $lupdate ]] || { echo "lupdate not found (Debian package qt6-l10n-tools)" >&2; exit 1; }
lang=$(basename "$ts" .ts)
lang=${lang##*_}
case $lang in
  en) target=en_US ;;
  *) target=$lang ;;
esac
cd "$root"
exec "$lupdate" -silent -no-obsolete -locations relative -tr-function-alias translate+=translated \
  -I "$root" -source-language fr_FR -target-language "$target" "$@" \
  core app views model acquisition export session analysis -ts "$ts"
