#!/bin/bash
# The peer for make realtime's CPU figure: KSnakeDuel, Debian's two-player one-keyboard Qt game, with
# both snakes steered for SECONDS (default 15) on the X display in $DISPLAY, each round an inward
# square spiral per snake (the left one anticlockwise with W A S D, the right one clockwise with the
# arrow keys), a new round started whenever the spiral is done. Prints the CPU time of all its threads
# (from each thread's schedstat) over those seconds as a percentage of one core, and how often its own
# thread woke and wrote a second:
#   =figure cpu.percent X
#   =figure main.wakes W
#   =figure main.writes N
# A measurement: it prints why and exits 0 when the peer cannot be run.
seconds=${1:-15}
game=/usr/games/ksnakeduel
if [ ! -x "$game" ] || ! command -v xdotool >/dev/null || ! command -v dbus-run-session >/dev/null; then
    echo "peer: ksnakeduel, xdotool or dbus-run-session is not installed (make deps-realtime)"
    exit 0
fi

work=$(mktemp -d)
session=
steer=
cleanup() {
    [ -n "$steer" ] && kill "$steer" 2>/dev/null
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    [ -n "$session" ] && wait "$session" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# A fresh home: two human players, nothing else changed from the defaults.
mkdir -p "$work/home/.config" "$work/run"
chmod 700 "$work/run"
printf '[Game]\nGameType=PlayerVSPlayer\n' >"$work/home/.config/ksnakeduelrc"
HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run" \
    dbus-run-session -- "$game" >"$work/log" 2>&1 &
session=$!

pid=
for _ in $(seq 100); do
    pid=$(pgrep -P "$session" -x ksnakeduel | head -1)
    [ -n "$pid" ] && break
    sleep 0.1
done
window=
[ -n "$pid" ] && window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -1)
if [ -z "$window" ]; then
    echo "peer: ksnakeduel did not open its window"
    sed 's/^/peer: /' "$work/log" | head -5
    exit 0
fi
sleep 2 # settle: pictures loaded, first frames shown

# A click on the field gives it the keyboard.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + 100)) click 1
sleep 0.3

cpu() {
    local total=0 t
    for t in /proc/"$pid"/task/*/schedstat; do
        read -r ns _ <"$t" 2>/dev/null && total=$((total + ns))
    done
    echo "$total"
}

# Lengths of the spiral's sides in ms (at the snakes' speed of about 145 px a second on the default
# board), and which keys turn each snake at the end of each side.
sides=(830 1240 1650 1100 1380 830 1100 550 830 280 550)
turns=("a Right" "s Down" "d Left" "w Up")
(
    while true; do
        xdotool key Up w # both players press a direction: the round starts
        for i in "${!sides[@]}"; do
            sleep "$(awk "BEGIN { print ${sides[$i]} / 1000 }")"
            xdotool key ${turns[$((i % 4))]}
        done
        sleep 1.5 # the round ends; the next one starts with the next keys
    done
) &
steer=$!

# The game's own thread: how often it woke, and its write calls (each frame sent to the X server is one).
main_thread() {
    local runs writes
    read -r _ _ runs <"/proc/$pid/task/$pid/schedstat"
    writes=$(awk '$1 == "syscw:" { print $2 }' "/proc/$pid/task/$pid/io")
    echo "$runs ${writes:-0}"
}

t0=$(date +%s%N)
c0=$(cpu)
read -r r0 w0 < <(main_thread)
sleep "$seconds"
c1=$(cpu)
read -r r1 w1 < <(main_thread)
t1=$(date +%s%N)
kill "$steer" 2>/dev/null
steer=
awk -v c=$((c1 - c0)) -v t=$((t1 - t0)) -v r=$((r1 - r0)) -v w=$((w1 - w0)) 'BEGIN {
    printf "=figure cpu.percent %.6f\n=figure main.wakes %.3f\n=figure main.writes %.3f\n", 100 * c / t, 1e9 * r / t, 1e9 * w / t
}'
