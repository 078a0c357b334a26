#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
# SPDX-License-Identifier: MIT
# Installs what is missing, builds what it starts (the program with its
# library and resources, and the command-line tool: no tests, no benchmarks)
# and starts VelkorOndrix. When no real keyboard is attached, the simulated
# keyboard stands in for it; its memory lives in a state file under
# ~/.local/state/velkorondrix/. A keyboard that is attached but cannot be
# opened is reported instead, by velkorondrix-ctl doctor with the fix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
build=${VELKORONDRIX_BUILD_DIR:-$root/build}
VELKORONDRIX_BUILD_DIR=$build "$root/scripts/build.sh" --target VelkorOndrix velkorondrix-ctl
bin=$build/bin

if [[ -z "${VELKORONDRIX_SIMULATOR:-}" ]]; then
  if ! "$bin/velkorondrix-ctl" list >/dev/null 2>&1; then
    state_dir=${XDG_STATE_HOME:-$HOME/.local/state}/velkorondrix
    mkdir -p "$state_dir"
    export VELKORONDRIX_SIMULATOR=$state_dir/simulated-keyboard.state
    [[ -e $VELKORONDRIX_SIMULATOR ]] || : > "$VELKORONDRIX_SIMULATOR"
    echo "No keyboard attached: using the simulated keyboard ($VELKORONDRIX_SIMULATOR)."
  else
    # Listed but status 3 ("no keyboard") on opening: it cannot be opened.
    status=0
    "$bin/velkorondrix-ctl" version >/dev/null 2>&1 || status=$?
    if [[ $status -eq 3 ]]; then
      echo "The keyboard was found but cannot be opened. What is wrong, and the fix:" >&2
      "$bin/velkorondrix-ctl" doctor >&2 || true
      exit 1
    fi
  fi
fi

if [[ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "VelkorOndrix needs a graphical desktop, but no display was found (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
  echo "Run it from a desktop session, or on a virtual display: xvfb-run -a scripts/run.sh" >&2
  echo "Without a display, the command-line tool works: $bin/velkorondrix-ctl --help" >&2
  exit 1
fi
exec "$bin/VelkorOndrix"
