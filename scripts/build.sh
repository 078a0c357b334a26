#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
# SPDX-License-Identifier: MIT
# Configures and builds into ./build (or $VELKORONDRIX_BUILD_DIR): everything,
# or only the targets named after --target (and what they need).
#   scripts/build.sh [-DOPTION=VALUE...] [--target TARGET...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELKORONDRIX_BUILD_DIR:-$root/build}
options=()
targets=()
while (($#)); do
  if [[ $1 == --target ]]; then
    shift
    targets=("$@")
    break
  fi
  options+=("$1")
  shift
done
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" ${targets[@]:+--target "${targets[@]}"}
