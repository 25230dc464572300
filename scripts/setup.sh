#!/usr/bin/env bash
# Installs the Debian packages Corvane needs to build, run and test that are missing. Safe to run
# again.
set -euo pipefail

# Given package names, installs those instead (the Windows cross build and the fuzz targets
# name their own).
if [ $# -gt 0 ]; then
  packages=("$@")
else
  packages=(
    build-essential cmake g++
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang-format
    xvfb xauth fonts-dejavu-core
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
