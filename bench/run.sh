#!/bin/sh
# Times the whole conversion (xlator.exe: import, field parsing, analysis,
# translation, output) of generated suites of 0.5, 5 and 50 MB (1x, 10x and
# 100x), next to reading the same bytes with cat, and prints MB/s, peak memory
# and how time and memory grow with the input.
# usage: bench/run.sh [BUILD_DIR]   (default: build; needs python3 and /usr/bin/time)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
converter=$build/bin/xlator.exe
[ -x "$converter" ] || { echo "build first: $converter is missing" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (Debian package: time)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The value of one line of a /usr/bin/time -v report, e.g. "Maximum resident set size".
report_value() {
    grep -F "$1" "$2" | sed 's/.*: //'
}

# "h:mm:ss.ss" or "m:ss.ss" as seconds.
as_seconds() {
    echo "$1" | awk -F: '{ print NF == 3 ? $1 * 3600 + $2 * 60 + $3 : $1 * 60 + $2 }'
}

printf '%-8s %10s %9s %9s %8s %10s %9s %9s %8s %8s\n' \
    input bytes wall CPU MB/s "peak RSS" "cat wall" "cat MB/s" "time x" "RSS x"
first_wall=
first_rss=
for size in 0.5 5 50; do
    dir=$work/$size
    mkdir "$dir"
    python3 "$here/gen_mp_suite.py" "$size" "$dir/bench.mp"
    bytes=$(wc -c < "$dir/bench.mp")
    /usr/bin/time -v cat "$dir/bench.mp" > /dev/null 2> "$dir/cat.time"
    # The converter writes beside the root file and into the working directory.
    (cd "$dir" && VELD=$build/bin /usr/bin/time -v "$converter" bench.mp > conversion.txt 2> conversion.time) || {
        echo "conversion of the $size MB suite failed:" >&2
        cat "$dir/conversion.txt" "$dir/conversion.time" >&2
        exit 1
    }
    grep -qx "No Errors found." "$dir/conversion.txt" || {
        echo "the $size MB suite does not analyse cleanly:" >&2
        cat "$dir/conversion.txt" >&2
        exit 1
    }
    wall=$(as_seconds "$(report_value "Elapsed (wall clock)" "$dir/conversion.time")")
    user=$(report_value "User time" "$dir/conversion.time")
    system=$(report_value "System time" "$dir/conversion.time")
    rss=$(report_value "Maximum resident set size" "$dir/conversion.time")
    cat_wall=$(as_seconds "$(report_value "Elapsed (wall clock)" "$dir/cat.time")")
    first_wall=${first_wall:-$wall}
    first_rss=${first_rss:-$rss}
    awk -v size="$size" -v bytes="$bytes" -v wall="$wall" -v user="$user" -v sys="$system" -v rss="$rss" \
        -v cat_wall="$cat_wall" -v first_wall="$first_wall" -v first_rss="$first_rss" 'BEGIN {
        cpu = user + sys
        mb = bytes / 1e6
        # /usr/bin/time counts in hundredths: a faster cat shows no rate.
        cat_rate = cat_wall > 0 ? sprintf("%.0f", mb / cat_wall) : "-"
        printf "%-8s %10d %8.2fs %8.2fs %8.1f %7.0f MB %8.2fs %9s %8.1f %8.1f\n", size " MB", bytes, wall, cpu,
               (wall > 0 ? mb / wall : 0), rss / 1024, cat_wall, cat_rate,
               (first_wall > 0 ? wall / first_wall : 0), rss / first_rss
    }'
done
