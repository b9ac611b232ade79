#!/usr/bin/env bash
# Files that cannot be watched are refused by `squeakrun --replay` before the window system starts, so
# with no display at all: one line on stderr naming the file and what is wrong with it, exit code 2,
# nothing written. (What the reader refuses, line by line, is the unit tests'.)
# Usage: bad_replays.sh <squeakrun binary> <build folder>
set -u
game=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}
cp "$game" "$work/squeakrun"
cd "$work" || exit 1
mkdir bad
mkdir -m 700 run # Qt's runtime folder, so that stderr holds only the game's say
printf 'answer Ann\nstart\nwait 40\nfly away\n' >bad/unknown.scn
printf 'start\nwait 1000000000000000\n' >bad/endless.scn
truncate -s 1G bad/huge.scn
before=$(ls -A)
for file in unknown:"line 4: unknown command fly" endless:"line 2: asks for more than" huge:"too large"; do
    name=${file%%:*} says=${file#*:}
    start=$(date +%s%N)
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR=$work/run \
        timeout 10 ./squeakrun --replay "bad/$name.scn" >out 2>err
    status=$?
    took=$((($(date +%s%N) - start) / 1000000))
    [ "$status" -eq 2 ] || fail "$name.scn: exit status $status, not 2"
    [ "$(wc -l <err)" -eq 1 ] && grep -q "bad/$name.scn cannot be watched: .*$says" err ||
        fail "$name.scn: stderr says: $(cat err)"
    [ "$took" -lt 2000 ] || fail "$name.scn took $took ms to refuse"
    rm out err
done
[ "$(ls -A)" = "$before" ] || fail "refusing a replay wrote: $(ls -A)"
echo "PASS: every bad replay refused without a display, naming the file and its reason"
