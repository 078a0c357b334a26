#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
# SPDX-License-Identifier: MIT
#
# Builds the Debian packages (velkorondrix and velkorondrix-dbgsym) with
# CMake's default generator, no tests and no benchmarks, hardened the way
# Debian builds its packages: the compiler and linker flags come from
# dpkg-buildflags (fortify, stack protector, full RELRO with BIND_NOW; PIE is
# the compiler's default). Extra arguments go to CMake, e.g.
#   -DVELKORONDRIX_MAINTAINER="Name <address>" -DVELKORONDRIX_HOMEPAGE=https://...
#
#   scripts/build-package.sh [build-dir] [-DOPTION=VALUE...]   (default: build-pkg)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-pkg}
shift || true
cd "$root"
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
# CMake knows no CPPFLAGS: the preprocessor's flags (fortify) go with the compiler's.
export CFLAGS="$CPPFLAGS $CFLAGS" CXXFLAGS="$CPPFLAGS $CXXFLAGS"
# The flags are read when the build folder is made: start afresh.
rm -rf "$build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DVELKORONDRIX_TESTS=OFF -DVELKORONDRIX_BENCH=OFF "$@" >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/velkorondrix*_*.*deb
