#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
# SPDX-License-Identifier: MIT
# Builds the Debian packages hardened (scripts/build-package.sh) and checks
# the main one unpacked: velkorondrix-ctl runs from the unpacked tree against
# the simulated keyboard, the udev rule, desktop entry, metadata, icon,
# resources, manual pages and the documents Debian asks for are in it, the
# debug symbols are in the -dbgsym package.
#
#   scripts/check-package.sh [build-dir]      (default: build-pkg)
#
# Leaves the packages in the build folder, the main one unpacked in
# build-dir/unpacked (scripts/check-distribution.sh checks it further).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-pkg}
"$root/scripts/install-deps.sh" --package

echo "== the Debian package"
"$root/scripts/build-package.sh" "$build" >/dev/null
debs=("$build"/velkorondrix_*_*.deb)
deb=${debs[0]}
[[ ${#debs[@]} -eq 1 && -f $deb ]] || { echo "check-package: no velkorondrix_<version>_<arch>.deb made" >&2; exit 1; }
echo "-- $(basename "$deb"), Depends: $(dpkg-deb -f "$deb" Depends)"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
rm -rf "$build/unpacked"
dpkg-deb -x "$deb" "$build/unpacked"
usr=$build/unpacked/usr
fail() { echo "check-package: $*" >&2; exit 1; }

# The tool runs from wherever the package was unpacked.
"$usr/bin/velkorondrix-ctl" --version
: > "$scratch/keyboard.state"
"$usr/bin/velkorondrix-ctl" --simulator "$scratch/keyboard.state" version

rule=$usr/lib/udev/rules.d/70-velkorondrix.rules
[[ -f $rule ]] || fail "no udev rule"
cmp -s "$rule" "$root/packaging/70-velkorondrix.rules" || fail "the udev rule differs from packaging/70-velkorondrix.rules"
for file in bin/VelkorOndrix share/icons/hicolor/48x48/apps/velkorondrix.png \
            share/velkorondrix/VelkorOndrix_RES.rcc share/velkorondrix/VelkorOndrix.html \
            share/applications/org.velkorondrix.VelkorOndrix.desktop \
            share/metainfo/org.velkorondrix.VelkorOndrix.metainfo.xml \
            share/doc/velkorondrix/copyright share/doc/velkorondrix/changelog.gz \
            share/man/man1/velkorondrix-ctl.1.gz share/man/man1/VelkorOndrix.1.gz; do
  [[ -f $usr/$file ]] || fail "missing /usr/$file"
done
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "dependencies were not computed from the binaries"
dpkg-deb -f "$deb" Recommends | grep -q qt6-translations-l10n || fail "Qt's translations are not recommended"
dpkg-deb -f "$deb" Description | grep -q 0483:5022 || fail "the description does not name the keyboard's USB ID"
# Compressed without a time stamp: the same sources give the same package.
for file in "$usr"/share/man/man1/*.gz "$usr/share/doc/velkorondrix/changelog.gz"; do
  [[ $(od -An -tu4 -j4 -N4 "$file" | tr -d ' ') == 0 ]] || fail "${file#"$usr/"} carries a time stamp"
done
# The debug symbols of every binary, by build id.
dbgsym=("$build"/velkorondrix-dbgsym_*_*.*deb)
[[ -f ${dbgsym[0]} ]] || fail "no velkorondrix-dbgsym package made"
debug_files=$(dpkg-deb -c "${dbgsym[0]}")
for file in "$usr/bin/VelkorOndrix" "$usr/bin/velkorondrix-ctl" "$usr"/lib/*/libVelkorOndrix_HWI.so.*.*; do
  id=$(readelf -nW "$file" | sed -n 's/.*Build ID: //p')
  grep -q "/usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug" <<<"$debug_files" ||
    fail "no debug symbols for ${file#"$usr/"} (build id $id)"
done

# The unpacked program finds its resource file relative to itself: it has it
# mapped once its main window is up.
QT_QPA_PLATFORM=offscreen VELKORONDRIX_SIMULATOR="$scratch/keyboard.state" "$usr/bin/VelkorOndrix" 2>/dev/null &
program=$!
resources=""
for _ in $(seq 50); do
  resources=$(grep -o "$usr/share/velkorondrix/VelkorOndrix_RES.rcc" "/proc/$program/maps" 2>/dev/null | head -1) || true
  [[ -n $resources ]] && break
  sleep 0.2
done
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
[[ -n $resources ]] || fail "the unpacked program did not load its resource file"

echo "== package checked: $(basename "$deb")"
