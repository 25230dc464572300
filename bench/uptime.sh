#!/bin/sh
# Builds the release uptime benchmark, runs Corvane's sweep of 1000 lab servers through its window
# beside a bash loop and a C loop of the same uptime.exe, interleaved, and checks Corvane's medians
# against the goals: wall time at most 1.1 times the C loop's and at most 0.9 times the bash loop's,
# own CPU time per server at most 1.5 times the C loop's. Also prints Corvane's peak memory and
# the share of RunAndWait alone.
# CORVANE_BENCH_BUILD=<folder> uses an existing build folder instead of the release preset.
set -eu

cd "$(dirname "$0")/.."
if [ -n "${CORVANE_BENCH_BUILD:-}" ]; then
    build=$CORVANE_BENCH_BUILD
    cmake --build "$build" --target uptime_bench
else
    build=build/release
    cmake --preset release >/dev/null
    cmake --build --preset release --target uptime_bench
fi

out=$(mktemp)
trap 'rm -f "$out"' EXIT
QT_QPA_PLATFORM=offscreen "$build/bin/uptime_bench" --benchmark_enable_random_interleaving=true \
    "$@" | tee "$out"

echo
echo "Medians per server:"
awk '
    # A sweep of 1000 servers in this unit, as microseconds per server.
    function unit(v, u) { return u == "s" ? v * 1e3 : u == "us" ? v / 1e3 : u == "ns" ? v / 1e6 : v }
    $1 ~ /_median$/ {
        name = $1; sub(/\/.*$/, "", name)
        wall[name] = unit($2, $3); cpu[name] = unit($4, $5)
        peak = ""; before = ""; memory = ""
        for (i = 6; i <= NF; i++) {
            if ($i ~ /^peak_MB=/) { peak = substr($i, 9) }
            if ($i ~ /^before_MB=/) { before = substr($i, 11) }
        }
        if (peak != "") { memory = "   peak memory " peak " MB (before the first sweep " before " MB)" }
        printf "  %-14s wall %8.1f us   own CPU %7.1f us%s\n", name, wall[name], cpu[name], memory
    }
    END {
        if ("RunAndWaitOnly" in cpu && "CLoop" in cpu) {
            printf "  RunAndWait alone / C loop CPU %.2f (for information)\n", cpu["RunAndWaitOnly"] / cpu["CLoop"]
        }
        if (!("Corvane" in wall) || !("CLoop" in wall) || !("BashLoop" in wall)) {
            print "  a loop is missing"; exit 1
        }
        w1 = wall["Corvane"] / wall["CLoop"]; w2 = wall["Corvane"] / wall["BashLoop"]
        c1 = cpu["Corvane"] / cpu["CLoop"]
        printf "  Corvane / C loop wall  %.2f (goal <= 1.10)\n", w1
        printf "  Corvane / bash wall    %.2f (goal <= 0.90)\n", w2
        printf "  Corvane / C loop CPU   %.2f (goal <= 1.50)\n", c1
        if (w1 > 1.10 || w2 > 0.90 || c1 > 1.50) { print "  over a goal"; exit 1 }
    }' "$out"
