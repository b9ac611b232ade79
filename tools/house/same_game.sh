#!/usr/bin/env bash
# The same game from two builds (make same-game: GCC's and Clang's). Every scenario file is played by
# both runners with every value dumped after each step of game time, and both play a small tournament;
# the outputs must match line for line, or a replay or the far side of a network game would drift
# away from what the player saw. The tournament's look times are wall-clock measurements and left out.
# Usage: same_game.sh <build folder> <other build folder>
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
builds=("$(cd "$1" && pwd)" "$(cd "$2" && pwd)") || exit 1
for b in "${builds[@]}"; do
    [ -x "$b/squeakrun-script" ] && [ -x "$b/bench/squeakrun-tournament" ] ||
        { echo "FAIL: $b holds no squeakrun-script or bench/squeakrun-tournament"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each scenario with "dump" after every wait and autoplay once the game has started, and at its end.
mkdir "$work/scenarios"
for scn in "$top"/tests/scenarios/*.scn; do
    awk '{ print }
         $1 == "start" { started = 1 }
         started && ($1 == "wait" || $1 == "autoplay") { print "dump" }
         END { if (started) print "dump" }' "$scn" >"$work/scenarios/$(basename "$scn")"
done

status=0
for i in 0 1; do
    out="$work/out$i"
    mkdir "$out"
    for scn in "$work"/scenarios/*.scn; do
        name=$(basename "$scn" .scn)
        (cd "$work/scenarios" && "${builds[$i]}/squeakrun-script" "$name.scn" >"$out/$name" 2>&1)
        echo "exit status $?" >>"$out/$name"
    done
    # The table without its last two columns, the look's mean and p99 in microseconds, and without the
    # goal they are held to.
    "${builds[$i]}/bench/squeakrun-tournament" 2 2>&1 | sed -E 's/ \| [^|]*$//' | grep -v 'a look under' \
        >"$out/tournament"
done
for f in "$work"/out0/*; do
    name=$(basename "$f")
    cmp -s "$f" "$work/out1/$name" && continue
    echo "FAIL: $name differs between the builds:"
    diff -u --label "${builds[0]}" --label "${builds[1]}" "$f" "$work/out1/$name" | head -n 40
    status=1
done
[ "$status" -eq 0 ] && echo "PASS: $(ls "$work/scenarios" | wc -l) scenarios ($(cat "$work"/out0/* | wc -l) lines) and a tournament the same from both builds"
exit "$status"
