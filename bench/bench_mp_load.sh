#!/bin/sh
# Times the MP import (scan, read, link, suite tree) of the MP files of
# generated suites of 5 MB and 50 MB, next to reading the same bytes with cat.
# usage: bench/bench_mp_load.sh [BUILD_DIR]   (default: build)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
bench=$build/bin/mp_load_bench
[ -x "$bench" ] || { echo "build first: $bench is missing" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 5 50; do
    dir=$work/$size
    python3 "$here/gen_mp_suite.py" "$size" "$dir" > /dev/null 2>&1
    bytes=$(cat "$dir/bench.mp" "$dir/bench_lib.mp" | wc -c)
    /usr/bin/time -v cat "$dir/bench.mp" "$dir/bench_lib.mp" > /dev/null 2> "$work/cat.txt"
    /usr/bin/time -v "$bench" "$dir/bench.mp" "$dir/bench_lib.mp" > "$work/out.txt" 2> "$work/time.txt"
    awk -v bytes="$bytes" -v size="$size" -v catfile="$work/cat.txt" '
        function seconds(text,   n, p) { n = split(text, p, ":"); return n == 3 ? p[1]*3600 + p[2]*60 + p[3] : p[1]*60 + p[2] }
        /Elapsed \(wall clock\)/ { wall = seconds($NF) }
        /Maximum resident set size/ { rss = $NF }
        /User time \(seconds\)/ { cpu += $NF }
        /System time \(seconds\)/ { cpu += $NF }
        END {
            while ((getline l < catfile) > 0) if (l ~ /Elapsed \(wall clock\)/) { n = split(l, w, " "); catwall = seconds(w[n]) }
            mb = bytes / 1000000
            rate = wall > 0 ? mb / wall : 0
            cpurate = cpu > 0 ? mb / cpu : 0
            printf "%2d MB suite: %.1f MB, load %.2f s wall (%.0f MB/s), %.2f s CPU (%.0f MB/s), peak RSS %.0f MB (%.1fx input); cat %.2f s\n", size, mb, wall, rate, cpu, cpurate, rss / 1024, rss / 1024 / mb, catwall
        }' "$work/time.txt"
    cat "$work/out.txt"
done
