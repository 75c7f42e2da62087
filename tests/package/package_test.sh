#!/usr/bin/env bash
# Checks the Debian package as a user's machine gets it: its control fields
# and dependencies, the files it lays out, the installed programs run from a
# scratch root (unpacked with dpkg-deb -x, nothing installed on this
# machine), and lintian's verdict (errors fail; warnings are listed).
#
#   tests/package/package_test.sh build/torva6_<version>_<arch>.deb
set -uo pipefail
[ $# -eq 1 ] && [ -f "$1" ] || { echo "usage: $0 PACKAGE.deb" >&2; exit 1; }
deb=$(realpath "$1")
source_dir=$(realpath "$(dirname "$0")/../..")
version=$(sed -nE 's/^project\(torva6 VERSION ([0-9.]+).*/\1/p' "$source_dir/CMakeLists.txt")

passed=0
failed=0
check() { # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $what" >&2
    fi
}
equal() { [ "$1" == "$2" ] || { echo "  expected: $2" >&2; echo "  got:      $1" >&2; return 1; }; }
contains() { grep -qE -- "$2" <<< "$1" || { echo "  no match for $2 in: $1" >&2; return 1; }; }
lacks() { ! grep -qE -- "$2" <<< "$1" || { echo "  unwanted $2 in: $1" >&2; return 1; }; }

# Control fields: the runtime packages of the libraries, never -dev ones.
depends=$(dpkg-deb -f "$deb" Depends)
check "package name" equal "$(dpkg-deb -f "$deb" Package)" torva6
check "package version" equal "$(dpkg-deb -f "$deb" Version)" "$version"
for runtime in 'libqt6widgets6' 'libqt6serialport6' 'libqscintilla2-qt6-[0-9]+' 'libqt6gui6' \
    'libqt6core6' 'libstdc\+\+6' 'fonts-liberation2'; do
    check "depends on $runtime" contains "$depends" "(^|, )$runtime( |,|$)"
done
check "no development package in Depends" lacks "$depends" '-dev( |,|$)'

# The files: the program's tree under /opt/torva6 and the system's share.
files=$(dpkg-deb -c "$deb" | awk '{ print $6 ($7 == "->" ? " -> " $8 : "") }')
for file in ./opt/torva6/bin/torva6 ./opt/torva6/bin/ta12 ./opt/torva6/bin/rt12run \
    ./opt/torva6/bin/rt12check ./usr/share/man/man1/rt12check.1.gz \
    ./opt/torva6/config/kiv12/rt12.hc12sim ./opt/torva6/config/kiv12/rt12s.hc12sim \
    ./opt/torva6/include/machine/rt12/rt12.inc ./opt/torva6/doc/Torva6_RT12.html \
    ./opt/torva6/include/machine/rt12/derivative.inc ./opt/torva6/include/machine/rt12/hcs12.inc \
    ./opt/torva6/include/machine/rt12/reg9s12.h ./opt/torva6/include/machine/rt12/dbug12.inc \
    ./opt/torva6/include/machine/rt12/mc9s12dp256.inc ./opt/torva6/include/machine/rt12/mc9s12dg256.inc \
    ./opt/torva6/include/machine/rt12/mc9s12c128.inc ./opt/torva6/include/machine/rt12/mc9s12xdp512.inc \
    ./opt/torva6/doc/images/device_outport.png \
    ./usr/share/applications/torva6.desktop ./usr/share/icons/hicolor/scalable/apps/torva6.svg \
    ./usr/share/icons/hicolor/48x48/apps/torva6.png ./usr/share/icons/hicolor/128x128/apps/torva6.png \
    ./usr/share/icons/hicolor/256x256/apps/torva6.png ./usr/share/man/man1/ta12.1.gz \
    ./usr/share/man/man1/rt12run.1.gz ./usr/share/man/man1/torva6.1.gz \
    ./usr/share/doc/torva6/copyright; do
    check "package holds $file" contains "$files" "^${file//./\\.}$"
done
for program in torva6 ta12 rt12run rt12check; do
    check "link /usr/bin/$program" contains "$files" "^\./usr/bin/$program -> /opt/torva6/bin/$program$"
done
check "no test or benchmark programs" lacks "$files" '_(test|bench|fuzz)'

# The programs, run from a scratch root.
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
bin="$root/opt/torva6/bin"
work="$root/work"
mkdir -p "$work"

check "ta12 --version" equal "$("$bin/ta12" --version)" "ta12 (TORVA 6 for RT12) $version"
check "rt12run --version" equal "$("$bin/rt12run" --version)" "rt12run (TORVA 6 for RT12) $version"
check "rt12check --version" equal "$("$bin/rt12check" --version)" "rt12check (TORVA 6 for RT12) $version"
# Without a display: the answer comes before Qt looks for one.
check "torva6 --version without a display" equal \
    "$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/torva6" --version 2>&1)" \
    "torva6 (TORVA 6 for RT12) $version"

# An example assembled with the installed ta12 and run by the installed
# rt12run on the board the installed descriptor describes.
cp "$source_dir/examples/echo_serial.asm" "$work/"
(cd "$work" && "$bin/ta12" -w echo_serial.asm > ta12.out)
check "installed ta12 assembles the example" equal "$(cat "$work/ta12.out")" "No Errors."
output=$(cd "$work" && printf 'ok\r' |
    "$bin/rt12run" --sci0 stdio --target "$root/opt/torva6/config/kiv12/rt12.hc12sim" \
        --max-steps 3000000 echo_serial.s19 2> rt12run.err)
status=$?
check "installed rt12run runs the example to its step limit" equal "$status" 2
check "the example's serial output" equal "$(tr -d '\r' <<< "$output")" $'Hello from the RT12\nok'

# ta12 finds the board's include file beside its own directory.
cat > "$work/hello.asm" <<'SOURCE'
        include "rt12.inc"
        org     $1000
start   ldx     #text
next    ldaa    1,x+
        beq     done
wait    brclr   SCI0SR1,TDRE,wait
        staa    SCI0DRL
        bra     next
done    brclr   SCI0SR1,TC,done
        swi
text    fcs     "hi"
        fcb     $0A,0
        end
SOURCE
(cd "$work" && "$bin/ta12" -w -I ../include/machine/rt12 hello.asm > ta12.out)
check "installed ta12 assembles with rt12.inc" equal "$(cat "$work/ta12.out")" "No Errors."
check "the program using rt12.inc runs" equal \
    "$(cd "$work" && "$bin/rt12run" --sci0 stdio hello.s19 < /dev/null)" "hi"

# A textbook program finds the installed register files with --compat.
cp "$source_dir/tests/asm/compat_corpus/textbook_printf.asm" "$work/"
(cd "$work" && "$bin/ta12" -w --compat -I ../include/machine/rt12 textbook_printf.asm > ta12.out)
check "installed ta12 --compat assembles a textbook program" equal "$(cat "$work/ta12.out")" \
    "No Errors."

# The installed rt12check scores a lab's correct and faulty solutions on the
# default board of the installed descriptors, assembling with the installed
# rt12.inc (whose status bit names replace the program's own).
cp "$source_dir"/examples/labs/echo_serial* "$work/"
sed -i -e 's/^SCISR1.*/ include "rt12.inc"\nSCISR1 EQU SCI0SR1/' -e '/^\(TDRE\|RDRF\) /d' \
    "$work/echo_serial_correct.asm"
table=$(cd "$work" && "$bin/rt12check" --quiet echo_serial.toml echo_serial_correct.asm \
    echo_serial_faulty.asm 2> rt12check.err)
status=$?
check "installed rt12check finds a failing submission" equal "$status" 1
check "installed rt12check scores the correct solution" contains "$table" \
    '^echo_serial_correct\.asm +4/4$'
check "installed rt12check scores the faulty solution" contains "$table" \
    '^echo_serial_faulty\.asm +2/4 '

# The monitor image is looked for in config/kiv12 beside the program's
# directory: the message names that place when the image cannot be loaded.
monitor=$(cd "$work" && "$bin/rt12run" --monitor --max-steps 10 echo_serial.s19 2>&1 >/dev/null)
if [ -f "$root/opt/torva6/config/kiv12/rt12_kbm12.s19" ]; then
    check "rt12run loads the monitor from its config directory" equal "$monitor" \
        "rt12run: step limit of 10 steps reached"
    # The textbook program prints through the monitor's printf and putchar.
    printed=$(cd "$work" && "$bin/rt12run" --monitor --sci0 stdio textbook_printf.s19 < /dev/null)
    check "the textbook program prints through the installed monitor" equal \
        "$(tr -d '\r' <<< "$printed")" $'-1234 fb2e HCS12\n*****\ndone'
else
    check "rt12run looks for the monitor in its config directory" contains "$monitor" \
        "Failed to load '$bin/\.\./config/kiv12/rt12_kbm12\.s19'"
fi

# lintian: no error; its warnings are printed for the record.
if command -v lintian > /dev/null; then
    report=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v "root privileges")
    echo "lintian:"
    sed 's/^/  /' <<< "${report:-(nothing to report)}"
    check "lintian reports no error" lacks "$report" '^E: '
else
    check "lintian is installed" false
fi

echo "package test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
