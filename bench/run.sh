#!/bin/sh
# Times the whole conversion (xlator.exe: import, ASN.1 association through
# modconv.exe, field parsing, analysis, translation, output) of generated
# suites, next to cat of the same bytes and to the TTCN-3 compiler's parser
# reading our output, and prints one markdown table row per size.
#
# usage: bench/run.sh [BUILD_DIR]        (default: build)
#   SIZES="0.5 5 50 100"   suite sizes in MB
#   KEEP=DIR               keep the generated suites and outputs in DIR
#
# Needs python3, /usr/bin/time; strace for the write counts and the TTCN-3
# compiler (TTCN3_DIR=/usr/share/titan compiler -p) for the parse times, each
# column left as "-" when its tool is missing.
#
# Columns: CPU = user + system seconds of the conversion writing real files;
# "CPU to sinks" = the same with both output files on /dev/null; writes =
# write calls counted by strace -c; floor = the CPU of that many writes of the
# same average size to /dev/null (half the CPU of dd copying them from
# /dev/zero), the cost of the writer's flush per write; MB/s = input MB / (CPU to sinks - floor); RSS = peak resident set
# (the converter or modconv.exe, whichever is larger); cat = cat of the input
# files; parse = the compiler's parse of our two output files (exit status
# after "/": 0 parsed, else rejected), and its CPU against ours.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
converter=$build/bin/xlator.exe
[ -x "$converter" ] || { echo "build first: $converter is missing" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (Debian package: time)" >&2; exit 1; }
sizes=${SIZES:-0.5 5 50 100}
if [ -n "${KEEP:-}" ]; then
    mkdir -p "$KEEP"
    work=$(cd "$KEEP" && pwd)
else
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi

# The value of one line of a /usr/bin/time -v report.
report_value() {
    grep -F "$1" "$2" | sed 's/.*: //'
}

cpu_of() {
    echo "$(report_value "User time" "$1") $(report_value "System time" "$1")" | awk '{ printf "%.2f", $1 + $2 }'
}

have() { command -v "$1" > /dev/null 2>&1; }

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //'); $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| input | MB | CPU | CPU to sinks | writes | floor | MB/s | RSS | RSS x | cat CPU | cat MB/s | cat RSS | parse | parse x |"
echo "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|"
for size in $sizes; do
    dir=$work/$size
    rm -rf "$dir"
    mkdir -p "$dir" "$dir/sink"
    python3 "$here/gen_mp_suite.py" "$size" "$dir" > "$dir/files.txt" 2> "$dir/mix.txt"
    files=$(cat "$dir/files.txt")
    bytes=$(cd "$dir" && cat $files | wc -c)
    (cd "$dir" && /usr/bin/time -v -o cat.time cat $files > /dev/null)

    # Real files, in the suite's folder.
    (cd "$dir" && VELD=$build/bin /usr/bin/time -v -o conversion.time "$converter" $files > conversion.txt 2> conversion.err) || {
        echo "conversion of the $size MB suite failed:" >&2
        tail -20 "$dir/conversion.txt" "$dir/conversion.err" >&2
        exit 1
    }
    grep -qx "No Errors found." "$dir/conversion.txt" || {
        echo "the $size MB suite does not analyse cleanly:" >&2
        head -40 "$dir/conversion.txt" >&2
        exit 1
    }
    # The same to /dev/null: a copy of the inputs whose output names are links to it.
    for f in $files; do ln -s "$dir/$f" "$dir/sink/$f"; done
    ln -s /dev/null "$dir/sink/bench.ttcn"
    ln -s /dev/null "$dir/sink/bench.asn"
    (cd "$dir/sink" && VELD=$build/bin /usr/bin/time -v -o conversion.time "$converter" $files > conversion.txt 2> conversion.err)
    writes=- floor=0 floor_text=-
    if have strace; then
        (cd "$dir/sink" && VELD=$build/bin strace -f -c -e trace=write -o strace.txt "$converter" $files > /dev/null 2>&1)
        writes=$(awk '$NF == "write" { print $4 }' "$dir/sink/strace.txt")
        out_bytes=$(cat "$dir/bench.ttcn" "$dir/bench.asn" | wc -c)
        if [ "${writes:-0}" -gt 0 ]; then
            block=$(( out_bytes / writes + 1 ))
            # dd reads each block before it writes it: half its CPU is the writes.
            /usr/bin/time -v -o "$dir/dd.time" dd if=/dev/zero of=/dev/null bs="$block" count="$writes" 2> /dev/null
            floor=$(cpu_of "$dir/dd.time" | awk '{ printf "%.2f", $1 / 2 }')
            floor_text=$floor
        fi
    fi
    parse=- parse_x=-
    if have compiler; then
        (cd "$dir" && TTCN3_DIR=/usr/share/titan /usr/bin/time -v -o parse.time compiler -p bench.ttcn bench.asn > parse.txt 2>&1) && status=0 || status=$?
        parse="$(cpu_of "$dir/parse.time") s/$status"
        parse_x=$(cpu_of "$dir/parse.time")
    fi
    awk -v size="$size" -v bytes="$bytes" -v cpu="$(cpu_of "$dir/conversion.time")" \
        -v sink="$(cpu_of "$dir/sink/conversion.time")" -v writes="$writes" -v floor="$floor" -v floor_text="$floor_text" \
        -v rss="$(report_value "Maximum resident set size" "$dir/conversion.time")" \
        -v cat_cpu="$(cpu_of "$dir/cat.time")" -v cat_rss="$(report_value "Maximum resident set size" "$dir/cat.time")" \
        -v parse="$parse" -v parse_cpu="$parse_x" 'BEGIN {
        mb = bytes / 1e6
        net = sink - floor
        rate = net > 0 ? sprintf("%.1f", mb / net) : "-"
        cat_rate = cat_cpu > 0 ? sprintf("%.0f", mb / cat_cpu) : ">" sprintf("%.0f", mb / 0.01)
        parse_ratio = parse_cpu != "-" && cpu > 0 ? sprintf("%.2f", parse_cpu / cpu) : "-"
        printf "| %s MB | %.1f | %.2f s | %.2f s | %s | %s s | %s | %.0f MB | %.1f | %.2f s | %s | %.0f MB | %s | %s |\n",
               size, mb, cpu, sink, writes, floor_text, rate, rss / 1024, rss / 1024 / mb, cat_cpu, cat_rate,
               cat_rss / 1024, parse, parse_ratio
    }'
done
echo
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
