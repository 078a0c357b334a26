#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
# SPDX-License-Identifier: MIT
# Hostile input in CI: runs every libFuzzer target of tests/fuzz for a
# bounded time, then the whole test suite built with AddressSanitizer and
# UBSan, then the random-use test under both for a few minutes. Any finding
# fails the script; libFuzzer keeps the input that found it under
# <fuzz build>/fuzz-work/<target>/artifacts/, the random-use test prints the
# seed that replays its run.
#
#   scripts/fuzz-and-sanitize.sh [seconds per target]     (default 60)
#   VELKORONDRIX_RANDOM_USE_SECONDS (default 180), VELKORONDRIX_RANDOM_USE_SEED
#   (default: drawn from the commit, so each change explores new ground and a
#   run on the same commit starts from the same seed)
#
# Builds go to build-fuzz/ (clang) and build-sanitize/ in the tree, or to
# $VELKORONDRIX_FUZZ_BUILD_DIR and $VELKORONDRIX_SANITIZE_BUILD_DIR.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
jobs=$(nproc)
"$root/scripts/install-deps.sh" --fuzz

# Every finding is fatal, with a stack that says where.
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan-suppressions.txt
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

fuzz=${VELKORONDRIX_FUZZ_BUILD_DIR:-$root/build-fuzz}
echo "== fuzz targets (clang, libFuzzer, AddressSanitizer, UBSan)"
CC=clang CXX=clang++ cmake -S "$root" -B "$fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELKORONDRIX_FUZZ=ON -DVELKORONDRIX_GUI=OFF -DVELKORONDRIX_BENCH=OFF >/dev/null
cmake --build "$fuzz" -j"$jobs" --target fuzz_targets
mapfile -t targets < "$fuzz/fuzz-targets.txt"
for name in "${targets[@]}"; do
  work=$fuzz/fuzz-work/$name
  rm -rf "$work" && mkdir -p "$work/corpus" "$work/artifacts"
  # New inputs go to the first folder, so the committed ones stay as they are.
  folders=("$work/corpus")
  for committed in "$root/tests/fuzz/corpus/$name" "$root/tests/fuzz/regressions/$name"; do
    [[ -d $committed ]] && folders+=("$committed")
  done
  echo "-- $name, ${seconds} s"
  "$fuzz/bin/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/" "${folders[@]}" 2>"$work/log" ||
    { tail -n 60 "$work/log"; echo "fuzz-and-sanitize: $name found a fault" >&2; exit 1; }
  grep -E "^stat::(number_of_executed_units|peak_rss_mb)" "$work/log" || true
done

sanitize=${VELKORONDRIX_SANITIZE_BUILD_DIR:-$root/build-sanitize}
echo "== test suite under AddressSanitizer and UBSan"
# Light optimisation and line tables only: the suite is built once more on
# the same machine, and a stack needs no more than lines.
cmake -S "$root" -B "$sanitize" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
  -DVELKORONDRIX_SANITIZE=ON -DVELKORONDRIX_BENCH=OFF >/dev/null
cmake --build "$sanitize" -j"$jobs"
cd "$sanitize"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" --timeout 600

echo "== random use under AddressSanitizer and UBSan"
started=$SECONDS
commit=$(git -C "$root" rev-parse --short=8 HEAD 2>/dev/null || date +%s | md5sum | cut -c1-8)
VELKORONDRIX_RANDOM_USE_SEED=${VELKORONDRIX_RANDOM_USE_SEED:-$((16#$commit))} \
VELKORONDRIX_RANDOM_USE_EVENTS=${VELKORONDRIX_RANDOM_USE_EVENTS:-100000000} \
VELKORONDRIX_RANDOM_USE_SECONDS=${VELKORONDRIX_RANDOM_USE_SECONDS:-180} \
QT_QPA_PLATFORM=offscreen "$sanitize/bin/random_use_tests"
echo "random use: $((SECONDS - started)) s"
