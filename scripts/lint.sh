#!/usr/bin/env bash
# The formatting and static checks, before anything is built: clang-format over every C++ file of
# the project (a file that would change fails), then clang-tidy 14 with the root .clang-tidy over
# src/ and tools/, using the compile commands of the dev preset (configured here, not built).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh clang-format clang-tidy

status=0

echo "== clang-format"
# Tracked files and new ones not yet added, in every folder below these.
mapfile -d '' sources < <(git ls-files -z --cached --others --exclude-standard -- \
  'src/*.cpp' 'src/*.h' 'tools/*.cpp' 'tools/*.h' 'tests/*.cpp' 'tests/*.h' \
  'bench/*.cpp' 'bench/*.h' 'docs/*.cpp' 'docs/*.h')
if ! clang-format --dry-run -Werror "${sources[@]}"; then
  status=1
fi

echo "== clang-tidy"
cmake --preset dev >/dev/null
tidy=run-clang-tidy-14
command -v "$tidy" >/dev/null || tidy=run-clang-tidy
# The Windows backends are not in a Linux build's compile commands, so they are not checked here.
if ! "$tidy" -p build/dev -j 2 -quiet "$PWD/(src|tools)/" >build/dev/clang-tidy.log 2>&1; then
  # The findings once each (a header's are reported by every file that includes it), without
  # the colours.
  sed -E 's/\x1b\[[0-9;]*m//g' build/dev/clang-tidy.log | grep -E "(warning|error): " | sort -u || true
  echo "clang-tidy findings above; the whole output is in build/dev/clang-tidy.log"
  status=1
fi
exit "$status"
