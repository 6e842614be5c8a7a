#!/usr/bin/env bash
# Builds the Debian package from the build's own CPack configuration into a temporary folder, and
# checks what it holds: the program, the virtual card in the folder compiled into the program, the
# firmware, the menu entry, the icons, the metainfo, the experiment's MIME type and the manual page. It unpacks the package
# (never installs it) to check the program and the library are what they should be.
# Usage: check-package.sh <CPackConfig.cmake> <library folder> "<icon sizes>" <1 when the .hex is built>
set -euo pipefail

config=${1:?CPackConfig.cmake}
libdir=${2:?library folder}
sizes=${3-}
hex=${4:-0}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

if ! cpack -G DEB --config "$config" -B "$tmp/out" >"$tmp/cpack.log" 2>&1; then
  cat "$tmp/cpack.log" >&2
  fail "cpack could not build the package"
fi
debs=("$tmp"/out/*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "expected one .deb, found: ${debs[*]}"
deb=${debs[0]}

# The control fields.
[[ $(dpkg-deb -f "$deb" Package) == pendulab ]] || fail "package name"
[[ $(dpkg-deb -f "$deb" Version) == 2.1* ]] || fail "version: $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6 libqt6widgets6 libqt6printsupport6 libqcustomplot qt6-translations-l10n; do
  [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
[[ -n $(dpkg-deb -f "$deb" Maintainer) ]] || fail "no maintainer"
[[ -n $(dpkg-deb -f "$deb" Description) ]] || fail "no description"

# The listing.
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$tmp/list"
expect=(
  /usr/bin/pendulab
  "$libdir/SysamPCI.dll"
  /usr/share/applications/pendulab.desktop
  /usr/share/icons/hicolor/scalable/apps/pendulab.svg
  /usr/share/metainfo/fr.pendulab.Pendulab.metainfo.xml
  /usr/share/mime/packages/pendulab.xml
  /usr/share/man/man1/pendulab.1.gz
  /usr/share/pendulab/firmware/README.md
  /usr/share/pendulab/firmware/pendulab-board/pendulab-board.ino
)
for size in $sizes; do expect+=("/usr/share/icons/hicolor/${size}x${size}/apps/pendulab.png"); done
[[ $hex == 1 ]] && expect+=(/usr/share/pendulab/firmware/pendulab-board.hex)
for path in "${expect[@]}"; do
  grep -qxF "$path" "$tmp/list" || fail "the package lacks $path"
done
# Nothing under /usr/local, nothing from the build's test fixtures.
! grep -q -e '^/usr/local' -e fixtures "$tmp/list" || fail "unexpected files: $(grep -e '^/usr/local' -e fixtures "$tmp/list")"

# Unpacked: the program and the virtual card are ELF files of the right kinds, every library they
# need resolves, and the folder compiled into the program is the one the package puts the card in.
root=$tmp/root
dpkg-deb -x "$deb" "$root"
file -L "$root/usr/bin/pendulab" | grep -q 'ELF.*executable' || fail "pendulab: $(file "$root/usr/bin/pendulab")"
file -L "$root$libdir/SysamPCI.dll" | grep -q 'ELF.*shared object' || fail "SysamPCI.dll: $(file "$root$libdir/SysamPCI.dll")"
for elf in "$root/usr/bin/pendulab" "$root$libdir/SysamPCI.dll"; do
  ! ldd "$elf" | grep -q 'not found' || fail "$elf: $(ldd "$elf" | grep 'not found')"
done
grep -qaF "$libdir/" "$root/usr/bin/pendulab" || fail "the program does not look for its card in $libdir"
grep -qaF PendulabVirtualCard "$root$libdir/SysamPCI.dll" || fail "SysamPCI.dll is not the virtual card"
[[ $(head -c 4 "$root/usr/share/pendulab/firmware/pendulab-board/pendulab-board.ino" | wc -c) -eq 4 ]] || fail "empty sketch"
gzip -t "$root/usr/share/man/man1/pendulab.1.gz" || fail "manual page not a gzip file"
for size in $sizes; do
  png=$root/usr/share/icons/hicolor/${size}x${size}/apps/pendulab.png
  file "$png" | grep -q "PNG image data, $size x $size" || fail "icon $size: $(file "$png")"
done

# The experiment file's type, as a desktop builds it: the MIME database made from the package's
# share/mime names *.pendulab and the file's own first bytes, and the menu entry opens that type.
type=application/x-pendulab-experiment
update-mime-database "$root/usr/share/mime" || fail "update-mime-database refused pendulab.xml"
grep -qxF "50:$type:*.pendulab" "$root/usr/share/mime/globs2" || fail "no *.pendulab glob: $(cat "$root/usr/share/mime/globs2")"
grep -qF "$type" "$root/usr/share/mime/magic" || fail "no content rule for $type"
grep -qxF "MimeType=$type;" "$root/usr/share/applications/pendulab.desktop" || fail "the menu entry does not open $type"
grep -qx 'Exec=pendulab %f' "$root/usr/share/applications/pendulab.desktop" || fail "the menu entry does not pass the file"

echo "ok: $(basename "$deb"), $(stat -c %s "$deb") bytes"
