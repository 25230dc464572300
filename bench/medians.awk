# Reads Google Benchmark's CSV output of VARIANT[/RUN...] benchmarks, prints each median with its
# peak memory, and Corvane's ratio to each of the other variants against its goal; exits 1 when a
# run failed or a ratio is over its goal. Set others="A B" and goals="gA gB" (same order).
function unit(v, u) { return u == "s" ? v * 1e3 : u == "us" ? v / 1e3 : u == "ns" ? v / 1e6 : v }
/^name,/ {
    for (i = 1; i <= NF; i++) { h = $i; gsub(/"/, "", h); col[h] = i }
    next
}
!("name" in col) { next }
{
    name = $1; gsub(/"/, "", name)
    if ($col["error_occurred"] == "true") { printf "  %s failed: %s\n", name, $col["error_message"]; bad = 1 }
    if (name !~ /_median$/) next
    sub(/\/iterations:.*$/, "", name)
    variant = name; sub(/\/.*$/, "", variant)
    run = substr(name, length(variant) + 2); if (run == "") run = "-"
    ms[variant, run] = unit($col["real_time"], $col["time_unit"])
    peak[variant, run] = $col["peak_MiB"]
    if (!(run in seen)) { seen[run] = 1; runs[++nruns] = run }
}
END {
    n = split(others, other, " "); split(goals, goal, " ")
    for (r = 1; r <= nruns; r++) {
        run = runs[r]
        printf "  %s\n", run
        for (k = 0; k <= n; k++) {
            v = k == 0 ? "Corvane" : other[k]
            if (!((v, run) in ms)) { printf "    %-8s missing\n", v; bad = 1; continue }
            printf "    %-8s %10.1f ms   peak %7.1f MiB\n", v, ms[v, run], peak[v, run]
        }
        for (k = 1; k <= n; k++) {
            if (!(("Corvane", run) in ms) || !((other[k], run) in ms)) continue
            ratio = ms["Corvane", run] / ms[other[k], run]
            over = ratio > goal[k] + 0
            printf "    Corvane / %-8s %5.2f (goal <= %s)%s\n", other[k], ratio, goal[k], over ? "  OVER" : ""
            if (over) bad = 1
        }
    }
    if (nruns == 0) { print "  no medians found"; bad = 1 }
    if (bad) { print "  over a goal or failed"; exit 1 }
}
