#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
# SPDX-License-Identifier: MIT
# Cross-builds the Qt-free part for 64-bit Windows with MinGW-w64:
# VelkorOndrix_HWI.dll, the core library, velkorondrix-ctl.exe and the tests
# of the device library, the hook, the profile, the XML layer, the
# translation and the command-line tool, then runs those tests under Wine
# (the core, translation and tool tests against the simulated keyboard).
# No windowed program: that needs a Qt built for MinGW.
#
#   scripts/cross-build-windows.sh [build-dir]      (default: build-win)
#
# Needs g++-mingw-w64-x86-64, cmake, ninja, Wine (wine64) and googletest's
# sources (/usr/src/googletest, Debian's libgtest-dev), which are built for
# Windows first; `scripts/install-deps.sh --windows` installs them all.
# Exits non-zero when something is missing, a build or a test fails.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build-win}"
case "$build" in /*) ;; *) build="$PWD/$build" ;; esac
jobs="${JOBS:-2}"
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
gtest_src="${GTEST_SOURCE:-/usr/src/googletest}"
gtest_prefix="$build/googletest-mingw"

for tool in x86_64-w64-mingw32-g++-posix cmake ninja; do
  command -v "$tool" >/dev/null || { echo "cross-build-windows: $tool not found" >&2; exit 2; }
done
[ -f "$gtest_src/CMakeLists.txt" ] || { echo "cross-build-windows: no googletest sources in $gtest_src" >&2; exit 2; }

# 1. GoogleTest for Windows, once per build directory.
if [ ! -f "$gtest_prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
  echo "== GoogleTest for Windows"
  cmake -S "$gtest_src" -B "$build/googletest-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$gtest_prefix" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON \
    -Dgtest_disable_pthreads=ON >/dev/null
  cmake --build "$build/googletest-build" -j "$jobs"
  cmake --install "$build/googletest-build" >/dev/null
fi

# 2. Wine runs the tests (also for test discovery): built but not run would
# pass for tested.
wine=""
for candidate in wine64 wine /usr/lib/wine/wine64; do
  if command -v "$candidate" >/dev/null 2>&1; then wine="$(command -v "$candidate")"; break; fi
done
if [ -z "$wine" ]; then
  echo "cross-build-windows: Wine not found; install it with: scripts/install-deps.sh --windows" >&2
  exit 2
fi

# 3. The libraries, the tool and their tests.
echo "== VelkorOndrix_HWI, VelkorOndrixCore and velkorondrix-ctl for Windows"
cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELKORONDRIX_MINGW_PREFIX="$gtest_prefix" -DGTest_DIR="$gtest_prefix/lib/cmake/GTest" \
  -DVELKORONDRIX_GUI=OFF -DVELKORONDRIX_BENCH=OFF -DVELKORONDRIX_TESTS=ON -DVELKORONDRIX_WERROR=ON \
  -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$wine" >/dev/null
# Only the Qt-free directories: the rest of the tree is not part of the
# Windows build checked here.
targets=(VelkorOndrix_HWI VelkorOndrixCore velkorondrix-ctl)
for dir in tests/device tests/hook tests/profile tests/xml tests/translation tests/ctl; do
  [ -f "$root/$dir/CMakeLists.txt" ] && targets+=("$dir/all")
done
cmake --build "$build" -j "$jobs" --target "${targets[@]}"
echo "== built: $(cd "$build/bin" && ls VelkorOndrix_HWI.dll *.exe 2>/dev/null | tr '\n' ' ')"

# 4. The tests under Wine, in a private prefix so no user's Wine setup is
# touched. Each test program runs once as a whole (one Wine start per test
# case, as ctest would do, costs a second each).
echo "== running the Windows tests under $wine"
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineserver="$(dirname "$wine")/wineserver"
[ -x "$wineserver" ] || wineserver="$(command -v wineserver || echo true)"
"$wine" wineboot --init >/dev/null 2>&1 || true   # the prefix, made once
"$wineserver" -p 60 || true                     # kept warm between the programs
status=0
for exe in "$build"/bin/*_tests.exe; do
  [ -f "$exe" ] || continue
  echo "-- $(basename "$exe")"
  if ! timeout 600 "$wine" "$exe" --gtest_brief=1; then
    echo "!! $(basename "$exe") FAILED"
    status=1
  fi
done
"$wineserver" -k 2>/dev/null || true
[ $status -eq 0 ] && echo "== all Windows tests passed"
exit $status
