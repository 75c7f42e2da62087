#!/bin/sh
# Times the rt12run program itself on the mixed loop: assembles it with ta12,
# runs it for a fixed number of steps and prints the steps per second.
# Usage: bench/rt12run/time_rt12run.sh [build dir] [steps]
set -eu
build=$(cd "${1:-build}" && pwd)
steps=${2:-200000000}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here/mixed_loop.asm" "$work/"
(cd "$work" && "$build/bin/ta12" mixed_loop.asm > /dev/null)
start=$(date +%s.%N)
status=0
"$build/bin/rt12run" --stop-on none --max-steps "$steps" "$work/mixed_loop.s19" 2> /dev/null || status=$?
end=$(date +%s.%N)
[ "$status" -eq 2 ] || { echo "rt12run ended with status $status" >&2; exit 1; }
echo "$steps $start $end" | awk '{ printf "%d steps in %.2f s: %.1f million steps per second\n", $1, $3 - $2, $1 / ($3 - $2) / 1e6 }'
