#!/usr/bin/env bash
# Whole runs of build/burgers on three cases, each three times in a fresh
# temporary folder with a stub command interpreter (the outside programs are
# recorded, not started). Prints, per case, the median wall time, the median
# peak resident memory and the wall time per row-iteration, N x itmax.
#
#   bench/cases.sh [path/to/burgers]      (default: build/burgers)
#   RUNS=5 bench/cases.sh                 (runs per case, default 3)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$root/build/burgers}")
runs=${RUNS:-3}
[[ -x $program ]] || { echo "no executable at $program (build it first)" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time is needed (Debian package: time)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The stub interpreter: records its command line, starts nothing.
cat >"$work/comspec" <<'EOF'
#!/bin/sh
printf '%s\n' "$*" >>commands.log
EOF
chmod +x "$work/comspec"

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# case name, N, Re, beta, itmax
run_case() {
    local name=$1 n=$2 re=$3 beta=$4 itmax=$5
    local times=() memories=()
    for ((r = 1; r <= runs; r++)); do
        local dir="$work/$name-$r"
        mkdir "$dir"
        printf '%s\n%s\n%s\n%s\n' "$n" "$re" "$beta" "$itmax" >"$dir/dados.txt"
        # Wall time from the shell's clock (microseconds; /usr/bin/time gives
        # only hundredths), peak memory from /usr/bin/time.
        local start=$EPOCHREALTIME
        (cd "$dir" && COMSPEC="$work/comspec" /usr/bin/time -f '%M' -o memory.txt \
            "$program" </dev/null >/dev/null)
        local end=$EPOCHREALTIME
        times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.6f", b - a }')")
        memories+=("$(<"$dir/memory.txt")")
        rm -rf "$dir"
    done
    local seconds kib
    seconds=$(printf '%s\n' "${times[@]}" | median)
    kib=$(printf '%s\n' "${memories[@]}" | median)
    awk -v name="$name" -v s="$seconds" -v k="$kib" -v n="$n" -v it="$itmax" 'BEGIN {
        printf "%-16s %10.4f s %10.1f MB %8.1f MiB %10.2f ns/row-iteration\n",
               name, s, k * 1024 / 1e6, k / 1024, s * 1e9 / (n * it) }'
}

printf '%-16s %12s %13s %12s %26s\n' case "wall (median)" "peak memory" "" "whole run"
run_case "large grid" 1000002 10.0 0.5 100
run_case "many iterations" 101 10.0 0.5 1000000
run_case "example" 52 10.0 0.5 200
