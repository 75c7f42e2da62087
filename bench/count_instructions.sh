#!/bin/sh
# Counts host instructions per simulated step of rt12run on the mixed loop
# with callgrind, which is free of timing noise: two runs of different length,
# so that the start-up cost drops out of the difference; once without devices
# and once with a serial console on interface 0, under each cycle model. Then
# prints the Google Benchmark figures of the CPU alone and of the run loop
# beside them.
# Usage: bench/count_instructions.sh [build dir] [short steps] [long steps]
set -eu
build=$(cd "${1:-build}" && pwd)
short=${2:-200000}
long=${3:-2200000}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
command -v valgrind > /dev/null || { echo "valgrind is not installed" >&2; exit 1; }
cp "$here/rt12run/mixed_loop.asm" "$work/"
(cd "$work" && "$build/bin/ta12" mixed_loop.asm > /dev/null)

# Host instructions of one rt12run run of $1 steps with the extra options $2.
count() {
    out="$work/callgrind.out"
    status=0
    # shellcheck disable=SC2086 # $2 holds several options on purpose
    valgrind --tool=callgrind --callgrind-out-file="$out" \
        "$build/bin/rt12run" --stop-on none --max-steps "$1" $2 "$work/mixed_loop.s19" \
        < /dev/null > /dev/null 2>&1 || status=$?
    [ "$status" -eq 2 ] || { echo "rt12run ended with status $status" >&2; exit 1; }
    sed -n 's/^summary: *\([0-9]*\).*/\1/p' "$out"
}

report() {
    a=$(count "$short" "$2")
    b=$(count "$long" "$2")
    echo "$a $b $short $long $1" | awk '{
        per_step = ($2 - $1) / ($4 - $3)
        label = $5; for (i = 6; i <= NF; ++i) label = label " " $i
        printf "  %-32s %7.1f host instructions per step (start-up %.1f M)\n",
               label, per_step, ($1 - per_step * $3) / 1e6 }'
}

echo "rt12run on the mixed loop (callgrind):"
for model in classic cpu12; do
    report "no devices, $model" "--cycles $model"
    report "serial console on SCI0, $model" "--cycles $model --sci0 stdio"
done
for bench in cpu_step_bench rt12run_bench; do
    if [ -x "$build/bench/$bench" ]; then
        echo
        "$build/bench/$bench" --benchmark_min_time=1 2> /dev/null |
            grep -E '^(BM_|Benchmark)' || true
    fi
done
