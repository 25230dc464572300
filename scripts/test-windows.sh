#!/usr/bin/env bash
# Installs what the Windows cross build needs, cross-builds the Windows backends with their
# contract suite and runs it under Wine, headless. The Wine prefix lives in the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh cmake make g++-mingw-w64-x86-64-posix googletest wine wine64

cmake --preset windows-cross
cmake --build --preset windows-cross

export WINEPREFIX="$PWD/build/windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
# One Wine server for the whole run, ended however the run ends.
mkdir -p "$WINEPREFIX"
wineserver -k 2>/dev/null || true
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot --init >/dev/null 2>&1
ctest --preset windows-cross
