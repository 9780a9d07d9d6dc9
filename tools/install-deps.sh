#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages that building, running and testing Wexal need, where missing.
# Further package names on the command line are installed along with them (tools/fuzz.sh,
# tools/analyse.sh).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libxcb1-dev  # the window follows its frame extents on X11
  qt6-charts-dev qt6-svg-dev libqt6opengl6-dev  # the Auswertung; Qt6Charts' CMake files need Qt6OpenGL's
  libgtest-dev libgmock-dev libbenchmark-dev libgmp-dev
  nlohmann-json3-dev  # scenario files
  fonts-liberation2 locales-all
  xvfb xdotool x11-utils imagemagick file openbox
  poppler-utils  # tools/screenshot_auswertung.sh renders the worksheet PDF (pdftoppm)
  dpkg-dev desktop-file-utils
  ccache help2man man-db lintian appstream bash-completion
  gnumeric  # the spreadsheet check of the results file (ssconvert)
  # the accessibility test: Qt's platform interface switches its events on
  qt6-base-private-dev
  # the screen-reader check: the AT-SPI bus and its Python binding
  at-spi2-core dbus python3-pyatspi
)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
