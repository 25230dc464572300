#!/usr/bin/env bash
# Builds the fuzz targets (clang 14's libFuzzer with ASan and UBSan), replays every seed corpus,
# then fuzzes each target for SECONDS (20 by default; `scripts/fuzz.sh 600` for a longer run).
# The fuzzing grows a copy of the corpus, never the one in the repository. Any finding fails the
# run; its input is left in build/fuzz/findings/TARGET/ to be kept as a regression input in
# tests/fuzz/corpus/TARGET/ once fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"

./scripts/setup.sh
./scripts/setup.sh clang-14 libclang-rt-14-dev

cmake --preset fuzz
cmake --build --preset fuzz

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
bin=build/fuzz/bin
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
targets=(tests/fuzz/corpus/*/)
failed=()
for dir in "${targets[@]}"; do
  target="$(basename "$dir")"
  findings="build/fuzz/findings/$target"
  mkdir -p "$findings" "$work/$target"
  cp -r "$dir". "$work/$target/"
  echo "== $target: replaying $(ls "$dir" | wc -l) inputs, then fuzzing for ${seconds}s"
  if ! "$bin/fuzz_$target" -runs=0 -artifact_prefix="$findings/" "$dir" >"$work/$target.log" 2>&1 ||
     ! "$bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
         -artifact_prefix="$findings/" "$work/$target" >>"$work/$target.log" 2>&1; then
    tail -n 40 "$work/$target.log"
    failed+=("$target")
  else
    grep -E "DONE" "$work/$target.log" | tail -n 1 || true
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Findings in: ${failed[*]} (inputs in build/fuzz/findings/)"
  exit 1
fi
echo "No findings: ${#targets[@]} targets, ${seconds}s each."
