#!/usr/bin/env bash
# Builds the Debian package with CMake's default generator (no tests, no
# benchmarks) and checks it unpacked: velkorondrix-ctl runs from the
# unpacked tree against the simulated keyboard, the udev rule, desktop
# entry, icon, resources and manual are in it, and a program of one's own
# builds against the device library's CMake package.
#
#   scripts/check-package.sh [build-dir]      (default: build-pkg)
#
# Leaves the package in the build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-pkg}
"$root/scripts/install-deps.sh" --package

echo "== the Debian package"
# -O2 as Debian builds its packages; CPack strips the binaries.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DVELKORONDRIX_TESTS=OFF -DVELKORONDRIX_BENCH=OFF >/dev/null
cmake --build "$build" -j2 >/dev/null
rm -f "$build"/velkorondrix_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/velkorondrix_*_*.deb)
deb=${debs[0]}
[[ ${#debs[@]} -eq 1 && -f $deb ]] || { echo "check-package: no velkorondrix_<version>_<arch>.deb made" >&2; exit 1; }
echo "-- $(basename "$deb"), Depends: $(dpkg-deb -f "$deb" Depends)"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch/root"
usr=$scratch/root/usr
fail() { echo "check-package: $*" >&2; exit 1; }

# The tool runs from wherever the package was unpacked.
"$usr/bin/velkorondrix-ctl" --version
: > "$scratch/keyboard.state"
"$usr/bin/velkorondrix-ctl" --simulator "$scratch/keyboard.state" version

rule=$usr/lib/udev/rules.d/70-velkorondrix.rules
[[ -f $rule ]] || fail "no udev rule"
grep -q '^SUBSYSTEM=="hidraw", ATTRS{idVendor}=="0483", ATTRS{idProduct}=="5022", TAG+="uaccess"$' "$rule" ||
  fail "the udev rule does not give access to the keyboard's hidraw nodes"
desktop-file-validate "$usr/share/applications/velkorondrix.desktop"
for file in bin/VelkorOndrix share/icons/hicolor/48x48/apps/velkorondrix.png \
            share/velkorondrix/VelkorOndrix_RES.rcc share/velkorondrix/VelkorOndrix.html \
            share/man/man1/velkorondrix-ctl.1.gz; do
  [[ -f $usr/$file ]] || fail "missing /usr/$file"
done
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "dependencies were not computed from the binaries"

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

# A program of one's own against the installed device library.
mkdir "$scratch/own"
cat > "$scratch/own/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.21)
project(own LANGUAGES CXX)
find_package(VelkorOndrix_HWI 1 REQUIRED)
add_executable(own main.cpp)
target_link_libraries(own PRIVATE VelkorOndrix_HWI::VelkorOndrix_HWI)
EOF
cat > "$scratch/own/main.cpp" <<'EOF'
#include <VelkorOndrix_HWI.h>
int main() { return CTarnHWI().DetectDevice() ? 0 : 1; }
EOF
cmake -S "$scratch/own" -B "$scratch/own/build" -DCMAKE_PREFIX_PATH="$usr" >/dev/null
cmake --build "$scratch/own/build" >/dev/null
VELKORONDRIX_SIMULATOR="$scratch/keyboard.state" "$scratch/own/build/own" ||
  fail "a program built against the CMake package does not find the simulated keyboard"
echo "== package checked: $(basename "$deb")"
