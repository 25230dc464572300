#!/bin/sh
# Builds the release confirm benchmark, runs Corvane, the bash loop and the C loop interleaved
# (501 files on 1000 lab servers) and checks Corvane's medians: at most 1.5 times the C loop's and
# 0.5 times the bash loop's, with the same report.
# CORVANE_BENCH_BUILD=<folder> uses an existing build folder instead of the release preset.
set -eu

cd "$(dirname "$0")/.."
if [ -n "${CORVANE_BENCH_BUILD:-}" ]; then
    build=$CORVANE_BENCH_BUILD
    cmake --build "$build" --target confirm_bench
else
    build=build/release
    cmake --preset release >/dev/null
    cmake --build --preset release --target confirm_bench
fi

csv=$(mktemp)
trap 'rm -f "$csv"' EXIT
QT_QPA_PLATFORM=offscreen "$build/bin/confirm_bench" --benchmark_enable_random_interleaving=true \
    --benchmark_out="$csv" --benchmark_out_format=csv "$@"

echo
echo "Medians (ms, peak memory MiB):"
awk -F, -f bench/medians.awk -v others="CLoop BashLoop" -v goals="1.5 0.5" "$csv"
