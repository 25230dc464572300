#!/bin/sh
# Builds the release deploy benchmark, runs Corvane, the cp script and the C loop interleaved
# (20 files of 2 MB to 20 lab servers, 501 files of 1 KB to 100, first deploy and redeploy) and
# checks Corvane's medians: at most 1.0 times the script's and 1.3 times the C loop's in each run.
# Each of the four runs is its own process, first deploys before redeploys, with a minute's pause
# after the one before: ext4 without a journal, as here, passes over every inode freed in the last
# minute (the last six while their table is not yet written) each time it makes a file, so the
# files a process deletes when it ends, and the old copies a redeploy replaces, would slow the
# next run's file creation. Within a run the copies stay on disk until its process ends. Give the
# disk a minute or more after deleting many files yourself before starting this.
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
trap 'rm -f "$csv" "$csv.run"' EXIT
pause=
for run in Big/First Small/First Big/Redeploy Small/Redeploy; do
    if [ -n "$pause" ]; then
        sync
        sleep 65
    fi
    pause=yes
    QT_QPA_PLATFORM=offscreen "$build/bin/deploy_bench" --benchmark_enable_random_interleaving=true \
        --benchmark_filter="/$run/" --benchmark_out="$csv.run" --benchmark_out_format=csv "$@"
    cat "$csv.run" >>"$csv"
done

echo
echo "Medians (ms, peak memory MiB):"
awk -F, -f bench/medians.awk -v others="Script CLoop" -v goals="1.0 1.3" "$csv"
