#!/usr/bin/env bash
# Files that cannot be watched are refused by `squeakrun --replay` before any window opens (on the
# offscreen platform a window would keep the game running): one line on stderr naming what is wrong,
# exit code 2, nothing written.
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
printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR\n' >bad/picture.scn
printf 'answer Ann\nstart\nwait 40\nfly away\n' >bad/unknown.scn
printf 'answer Ann\nstart\nwait 40\nkey' >bad/cut.scn
truncate -s 1G bad/huge.scn
before=$(ls -A)
for file in picture:binary unknown:"line 4: unknown command fly" cut:"cut off" huge:"too large"; do
    name=${file%%:*} says=${file#*:}
    start=$(date +%s%N)
    XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=offscreen timeout 10 ./squeakrun --replay "bad/$name.scn" >out 2>err
    status=$?
    took=$((($(date +%s%N) - start) / 1000000))
    [ "$status" -eq 2 ] || fail "$name.scn: exit status $status, not 2"
    [ "$(wc -l <err)" -eq 1 ] && grep -q "bad/$name.scn cannot be watched: .*$says" err ||
        fail "$name.scn: stderr says: $(cat err)"
    [ "$took" -lt 2000 ] || fail "$name.scn took $took ms to refuse"
    rm out err
done
[ "$(ls -A)" = "$before" ] || fail "refusing a replay wrote: $(ls -A)"
echo "PASS: every bad replay refused before a window opened, with its reason"
