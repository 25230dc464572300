#!/usr/bin/env bash
# Installs what is needed, builds Corvane with its tests and runs every test, headless.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

preset="${1:-dev}"
cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset"
