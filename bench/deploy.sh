#!/bin/sh
# Builds the release deploy benchmark, runs Corvane, the cp script and the C loop interleaved
# (20 files of 2 MB to 20 lab servers, 501 files of 1 KB to 100, first deploy and redeploy) and
# checks Corvane's medians: at most 1.0 times the script's and 1.3 times the C loop's in each run.
# The copies of every run stay on disk until the benchmark ends (deleting them on this disk slows
# the next run's file creation); removing them at the end takes a while. ext4 without a journal, as
# here, passes over every inode freed in the last minute (the last six while their table is not yet
# written) each time it makes a file: after deleting many files, this benchmark's own clean-up
# included, run `sync` and wait a minute or more before timing anything that creates files.
# CORVANE_BENCH_BUILD=<folder> uses an existing build folder instead of the release preset.
set -eu

cd "$(dirname "$0")/.."
if [ -n "${CORVANE_BENCH_BUILD:-}" ]; then
    build=$CORVANE_BENCH_BUILD
    cmake --build "$build" --target deploy_bench
else
    build=build/release
    cmake --preset release >/dev/null
    cmake --build --preset release --target deploy_bench
fi

csv=$(mktemp)
trap 'rm -f "$csv"' EXIT
QT_QPA_PLATFORM=offscreen "$build/bin/deploy_bench" --benchmark_enable_random_interleaving=true \
    --benchmark_out="$csv" --benchmark_out_format=csv "$@"

echo
echo "Medians (ms, peak memory MiB):"
awk -F, -f bench/medians.awk -v others="Script CLoop" -v goals="1.0 1.3" "$csv"
