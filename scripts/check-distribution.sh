#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
# SPDX-License-Identifier: MIT
#
# What a distribution checks before it takes the package, each check timed
# against its budget:
#   reuse      every file says its licence (reuse lint)
#   udev       the rule opens the keyboard's interface 1 alone (umockdev)
#   package    the Debian package builds hardened and holds what it should
#              (scripts/check-package.sh, which leaves it unpacked)
#   metadata   AppStream metainfo and desktop entry validate
#   lintian    no error, and no warning without an override that says why
#   hardening  fortify, stack protector, full RELRO, BIND_NOW, PIE
#   symbols    the device library exports exactly device/exported-symbols.txt
#   example    examples/version builds against the package (CMake and
#              pkg-config) and reads the simulated keyboard's version
#   doctor     velkorondrix-ctl doctor on a simulated, a missing and an
#              unreadable keyboard
#
#   scripts/check-distribution.sh [build-dir]        (default: build-pkg)
#   scripts/check-distribution.sh [build-dir] CHECK  (one check; the later
#                                                     ones need 'package')
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-pkg}
# Absolute: the example's CMake resolves a relative prefix from its own folder.
mkdir -p "$build"
build=$(cd "$build" && pwd)
unpacked=$build/unpacked
usr=$unpacked/usr
fail() { echo "check-distribution: $*" >&2; exit 1; }

check_reuse() {
  reuse --root "$root" lint
}

# udevadm test reads the rules from the system's folders: in a mount
# namespace of its own, /etc/udev/rules.d holds the rule under test, and
# umockdev shows udev a keyboard with both interfaces and another vendor's
# device with the same product number.
check_udev() {
  local scratch tags
  scratch=$(mktemp -d)
  mkdir "$scratch/rules"
  cp "$root/packaging/70-velkorondrix.rules" "$scratch/rules/"
  local sudo=""
  [[ $(id -u) -eq 0 ]] || sudo=sudo
  for node in hidraw0:no hidraw1:yes hidraw2:no; do
    tags=$($sudo unshare -m sh -c "mount --bind '$scratch/rules' /etc/udev/rules.d &&
      umockdev-run -d '$root/tests/distribution/keyboard.umockdev' -- udevadm test --action=add /sys/class/hidraw/${node%:*}" \
      2>/dev/null | sed -n 's/^CURRENT_TAGS=//p')
    local tagged=no
    [[ $tags == *:uaccess:* ]] && tagged=yes
    echo "${node%:*}: uaccess $tagged"
    [[ $tagged == "${node#*:}" ]] || fail "udev rule: ${node%:*} tagged '$tags', expected uaccess: ${node#*:}"
  done
  rm -rf "$scratch"
  # Removing the package makes udev forget the rule: postrm runs with a
  # udevadm that notes its calls, where udev runs (/run/udev exists; a
  # namespace of its own, as udev may not run here).
  mkdir -p "$scratch/bin"
  printf '#!/bin/sh\necho "$*" >> "%s/calls"\n' "$scratch" > "$scratch/bin/udevadm"
  chmod +x "$scratch/bin/udevadm"
  $sudo unshare -m sh -c "mount -t tmpfs none /run && mkdir /run/udev &&
    PATH='$scratch/bin':\$PATH sh '$root/packaging/postrm' remove"
  grep -q '^control --reload-rules$' "$scratch/calls" || fail "postrm does not reload the udev rules"
  rm -rf "$scratch"
}

check_package() {
  "$root/scripts/check-package.sh" "$build"
}

check_metadata() {
  appstreamcli validate --no-net --pedantic --format yaml \
    "$usr/share/metainfo/org.velkorondrix.VelkorOndrix.metainfo.xml" > "$build/appstream.yaml" || true
  # The id is the program's desktop file name and Wayland app id, fixed
  # with capitals: the one pedantic note it earns is expected.
  local issues
  issues=$(sed -n 's/^ *- tag: //p' "$build/appstream.yaml" | grep -vx 'cid-contains-uppercase-letter' || true)
  [[ -z $issues ]] || { cat "$build/appstream.yaml"; fail "appstreamcli: $issues"; }
  grep -q '^Passed: yes' "$build/appstream.yaml" || { cat "$build/appstream.yaml"; fail "appstreamcli failed"; }
  desktop-file-validate "$usr/share/applications/org.velkorondrix.VelkorOndrix.desktop"
  echo "metainfo and desktop entry valid (the one pedantic note: capitals in the fixed id)"
}

check_lintian() {
  local overrides=$usr/share/lintian/overrides/velkorondrix
  # Every override has a comment above it that says why.
  awk '/^#/ { reason = 1; next } /^[[:space:]]*$/ { reason = 0; next }
       !reason { print "no reason given for: " $0; bad = 1 } END { exit bad }' "$overrides" ||
    fail "lintian overrides without a reason"
  lintian --fail-on error,warning --tag-display-limit 0 "$build"/velkorondrix_*.deb
}

check_hardening() {
  local file
  for file in "$usr/bin/VelkorOndrix" "$usr/bin/velkorondrix-ctl" "$usr"/lib/*/libVelkorOndrix_HWI.so.*.*; do
    local name headers dynamic symbols
    name=${file#"$usr/"}
    headers=$(readelf -lW "$file")
    dynamic=$(readelf -dW "$file")
    symbols=$(readelf --dyn-syms -W "$file")
    grep -q GNU_RELRO <<<"$headers" || fail "$name: no RELRO"
    grep -Eq 'BIND_NOW|FLAGS.*NOW' <<<"$dynamic" || fail "$name: no BIND_NOW (lazy binding keeps the GOT writable)"
    [[ $(readelf -hW "$file" | sed -n 's/^ *Type: *//p') == DYN* ]] || fail "$name: not position-independent"
    grep -q '__stack_chk_fail' <<<"$symbols" || fail "$name: no stack protector"
    # Fortified: the checking variants of the C library's functions, where
    # the binary calls any that has one (as lintian judges it).
    if ! grep -Eq ' __[a-z]+_chk@' <<<"${symbols//__stack_chk_fail/}"; then
      ! grep -Eq ' (memcpy|memmove|memset|strcpy|strcat|strncpy|sprintf|snprintf|vsnprintf|fprintf|printf|read|fgets|swprintf|wmemcpy|wcscpy)@' \
        <<<"$symbols" || fail "$name: not fortified"
    fi
    echo "$name: RELRO, BIND_NOW, PIE, stack protector, fortify"
  done
}

check_symbols() {
  local library
  library=$(echo "$usr"/lib/*/libVelkorOndrix_HWI.so.*.*)
  nm -D --defined-only -C "$library" | awk '{ $1 = ""; $2 = ""; sub(/^  /, ""); print }' | LC_ALL=C sort -u \
    > "$build/exported-symbols.txt"
  diff -u <(grep -v '^#' "$root/device/exported-symbols.txt") "$build/exported-symbols.txt" ||
    fail "the device library exports other symbols than device/exported-symbols.txt (update it where meant)"
  echo "$(wc -l < "$build/exported-symbols.txt") symbols, as listed"
}

check_example() {
  local scratch=$build/example
  rm -rf "$scratch"
  mkdir -p "$scratch"
  cmake -S "$root/examples/version" -B "$scratch/cmake" -DCMAKE_PREFIX_PATH="$usr" >/dev/null
  cmake --build "$scratch/cmake" >/dev/null
  # pkg-config finds the package's .pc file; the sysroot puts its paths
  # under the unpacked tree.
  local flags
  flags=$(PKG_CONFIG_PATH=$(echo "$usr"/lib/*/pkgconfig) PKG_CONFIG_SYSROOT_DIR=$unpacked \
    pkg-config --cflags --libs velkorondrix-hwi)
  # shellcheck disable=SC2086
  c++ -std=c++17 -o "$scratch/version-pc" "$root/examples/version/version.cpp" $flags
  # Every public header on its own, as C++17: consumers need no more.
  local header
  for header in "$usr"/include/velkorondrix/*.h; do
    echo "#include <velkorondrix/${header##*/}>" | c++ -std=c++17 -fsyntax-only -I"$usr/include" -x c++ - ||
      fail "${header#"$usr/"} does not compile as C++17 on its own"
  done
  : > "$scratch/keyboard.state"
  local program output
  for program in "$scratch/cmake/version" "$scratch/version-pc"; do
    output=$(LD_LIBRARY_PATH=$(echo "$usr"/lib/*-*) VELKORONDRIX_SIMULATOR=$scratch/keyboard.state "$program") ||
      fail "$program failed"
    echo "${program#"$build/"}: $output"
    [[ -n $output ]] || fail "$program printed no version"
  done
}

check_doctor() {
  local scratch=$build/doctor ctl=$usr/bin/velkorondrix-ctl status
  rm -rf "$scratch"
  mkdir -p "$scratch"
  : > "$scratch/keyboard.state"
  # No display, no tray: the simulated keyboard alone is what a user needs.
  env -u DISPLAY -u WAYLAND_DISPLAY VELKORONDRIX_SIMULATOR="$scratch/keyboard.state" "$ctl" doctor \
    > "$scratch/simulated.txt" || { cat "$scratch/simulated.txt"; fail "doctor: the simulated keyboard is not usable"; }
  grep -q "The simulated keyboard is selected" "$scratch/simulated.txt" &&
    grep -q "ok    Its configuration interface (interface 1, simulated) can be opened" "$scratch/simulated.txt" ||
    { cat "$scratch/simulated.txt"; fail "doctor does not find the simulated keyboard usable"; }
  status=0
  env -u DISPLAY -u WAYLAND_DISPLAY VELKORONDRIX_SIMULATOR="$scratch/unplugged.state" "$ctl" doctor \
    > "$scratch/missing.txt" || status=$?
  [[ $status -eq 1 ]] && grep -q "FAIL  The simulated keyboard is not attached" "$scratch/missing.txt" ||
    { cat "$scratch/missing.txt"; fail "doctor: a missing keyboard is not reported (status $status)"; }
  # A keyboard whose configuration interface the user may not open, as
  # without the rule: umockdev shows the keyboard, its hidraw1 node is made
  # unreadable, and the doctor runs as an ordinary user.
  # The user needs to reach the tool and the device tree wherever the
  # checkout is: a copy in a folder of its own.
  local user_tree
  user_tree=$(mktemp -d)
  chmod 755 "$user_tree"
  mkdir -p "$user_tree/bin" "$user_tree/lib"
  cp "$ctl" "$user_tree/bin/"
  cp -a "$usr"/lib/*-*/libVelkorOndrix_HWI.so* "$user_tree/lib/"
  cp "$root/tests/distribution/keyboard.umockdev" "$user_tree/"
  status=0
  setpriv --reuid=65534 --regid=65534 --clear-groups -- env -u DISPLAY -u WAYLAND_DISPLAY \
    LD_LIBRARY_PATH="$user_tree/lib" umockdev-run -d "$user_tree/keyboard.umockdev" -- \
    sh -c 'chmod 000 "$UMOCKDEV_DIR/dev/hidraw1" && exec "$0" doctor' "$user_tree/bin/velkorondrix-ctl" \
    > "$scratch/unreadable.txt" || status=$?
  rm -rf "$user_tree"
  [[ $status -eq 1 ]] && grep -q "interface 0 at /dev/hidraw0, interface 1 at /dev/hidraw1" "$scratch/unreadable.txt" &&
    grep -q "hidraw1) cannot be opened: permission denied" "$scratch/unreadable.txt" ||
    { cat "$scratch/unreadable.txt"; fail "doctor: an unreadable configuration interface is not explained (status $status)"; }
  cat "$scratch/simulated.txt" "$scratch/missing.txt" "$scratch/unreadable.txt"
}

elapsed() {  # seconds since $1 (an EPOCHREALTIME), to a tenth
  awk -v start="$1" -v now="$EPOCHREALTIME" 'BEGIN { printf "%.1f", now - start }'
}

run_check() {
  local name=$1 budget=$2 start=$EPOCHREALTIME
  echo "== $name (budget ${budget} s)"
  timeout "$budget" "$0" "$build" "$name" || fail "$name failed (or took longer than ${budget} s)"
  echo "-- $name: $(elapsed "$start") s"
}

if [[ $# -ge 2 ]]; then
  "check_$2"
  exit
fi
"$root/scripts/install-deps.sh" --package
total=$EPOCHREALTIME
run_check reuse 120
run_check udev 60
run_check package 1500
run_check metadata 60
run_check lintian 300
run_check hardening 30
run_check symbols 30
run_check example 180
run_check doctor 60
echo "== distribution checks passed in $(elapsed "$total") s"
