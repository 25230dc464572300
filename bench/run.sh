#!/bin/sh
# Builds the release start-up benchmark, runs it and checks each median against the goal.
set -eu

cd "$(dirname "$0")/.."
limit_ms=${CORVANE_BENCH_LIMIT_MS:-50}

cmake --preset release >/dev/null
cmake --build --preset release --target startup_bench

out=$(mktemp)
trap 'rm -f "$out"' EXIT
QT_QPA_PLATFORM=offscreen build/release/bin/startup_bench "$@" | tee "$out"

echo
echo "Medians (goal: under ${limit_ms} ms each):"
awk -v limit="$limit_ms" '
    $1 ~ /_median$/ {
        name = $1; sub(/\/repeats.*$/, "", name)
        printf "  %-12s %8.2f %s\n", name, $2, $3
        found++
        if ($3 != "ms" || $2 + 0 >= limit + 0) slow++
    }
    END {
        if (!found) { print "  no medians found"; exit 1 }
        if (slow) { print "  over the goal"; exit 1 }
    }' "$out"
