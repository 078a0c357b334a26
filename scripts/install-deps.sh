#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
# SPDX-License-Identifier: MIT
# Installs the Debian packages needed to build, run and test VelkorOndrix.
# Does nothing when they are all present already.
#   --windows  also the cross-build for Windows, and Wine to run its tests
#   --package  also what building and checking the Debian package needs
#              (scripts/check-distribution.sh)
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libhidapi-dev libudev-dev libx11-dev libxtst-dev
  libdbus-1-dev libfontconfig-dev  # velkorondrix-ctl doctor: the tray, Chinese fonts
  fonts-noto-cjk
  libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev
  xvfb xauth
)
# Qt's own texts in Chinese, for the program and its tests.
packages+=(qt6-translations-l10n)
# Qt's platform headers: the accessibility test switches Qt's accessibility
# on as a screen reader would.
packages+=(qt6-base-private-dev)
# The headless Wayland desktop the program is tried on (tests/wayland): sway
# with XWayland, screenshots, Qt's Wayland platform, and what the desktop's
# virtual keyboard and pointer are built with.
packages+=(sway xwayland grim qt6-wayland libwayland-dev libxkbcommon-dev)
if [[ "${1:-}" == "--windows" ]]; then
  packages+=(g++-mingw-w64-x86-64)
  packages+=(wine64)  # runs the cross-built tests
fi
if [[ "${1:-}" == "--package" ]]; then
  packages+=(file desktop-file-utils dpkg-dev binutils)
  # scripts/check-distribution.sh: licences, packaging rules, software-centre
  # metadata, and the udev rule on a mock device tree
  packages+=(reuse lintian appstream umockdev udev)
fi
if [[ "${1:-}" == "--fuzz" ]]; then
  packages+=(clang libclang-rt-14-dev)  # libFuzzer and the sanitizer runtimes
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
