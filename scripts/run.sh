#!/usr/bin/env bash
# Installs what is needed, builds Corvane and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target corvane

program=build/release/bin/corvane
# On the first start, a demo lab network beside the program, and its servers in the computer list
# when there is none yet, so that every button has servers to work on. An existing network is
# never touched.
if [ ! -e build/release/bin/network ]; then
  build/release/bin/corvane-lab demo build/release/bin/network \
    --computer-list build/release/bin/computerlist.txt
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Corvane is a desktop program and there is no display here (DISPLAY is not set)."
  echo "Start it under a virtual display instead:"
  echo "  xvfb-run -a $program"
  exit 1
fi
exec "$program"
