#!/usr/bin/env bash
# Two real games on one virtual X server play a network game over this machine's loopback: each player
# types only their own name, the joiner starts, each steers their own car with the first key set and it
# moves on both windows, a silent joiner is waited for, a third player is turned away, the joiner pauses
# both, both windows then show the same field, the joiner leaves and the host is told, and both recorded
# sessions replay headless to the same end. Each step
# waits for what the windows show, never for a fixed time.
# Usage: net_play.sh <squeakrun binary> <build folder>
set -u

game=$1
build=$2

source "$(dirname "$0")/../x_session.sh"
command -v import >/dev/null && command -v compare >/dev/null || fail "ImageMagick is needed to look at the game"
host_pid="" join_pid="" third_pid=""
trap 'kill -CONT $join_pid 2>/dev/null; kill $host_pid $join_pid $third_pid 2>/dev/null; cleanup' EXIT
port=$((41000 + RANDOM % 100))

# Starts a copy of the game as SIDE (host or join) in a folder of its own, with settings and records of
# its own, recording its sessions in $work/SIDE/rec.
launch() {
    local side=$1
    shift
    mkdir -p "$work/$side/config"
    cp "$game" "$work/$side/squeakrun"
    cp -r "$build/images" "$work/$side/images"
    (cd "$work/$side" && XDG_CONFIG_HOME=$work/$side/config XDG_DATA_HOME=$work/$side \
        exec ./squeakrun --mute --record rec "$@" >>"$work/log" 2>&1) &
    eval "${side}_pid=$!"
}
# The id of a shown window of process $1 whose title matches $2.
window_of() {
    xdotool search --all --onlyvisible --pid "$1" --name "$2" 2>/dev/null | head -n1 | grep .
}
# Types $3 into the box titled $2 of process $1 and presses Enter.
answer_of() {
    local id
    id=$(wait_for window_of "$1" "^$2\$") || fail "no \"$2\" box came up"
    xdotool windowfocus --sync "$id"
    [ -n "$3" ] && xdotool type --delay 40 "$3"
    xdotool key Return
    wait_for hidden "$id" || fail "the \"$2\" box did not close"
}
# Puts the game window $1 in front and measures it (main, X, Y, scale, menubar).
look_at() {
    main=$1
    xdotool windowraise "$main"
    measure_window
}
# Whether the start place of the car at $2, $3 twips in window $1 shows something else than it did.
car_left() {
    look_at "$1"
    local car=$(((255 * scale + 14) / 15)) cx cy
    read -r cx cy < <(at "$2" "$3")
    import -window root -crop "${car}x${car}+${cx}+${cy}" "$work/now.png" &&
        [ "$(compare -metric AE "$work/start-$1-$2.png" "$work/now.png" null: 2>&1 | cut -d' ' -f1)" != 0 ]
}
keep_start() {
    look_at "$1"
    local car=$(((255 * scale + 14) / 15)) cx cy
    read -r cx cy < <(at "$2" "$3")
    import -window root -crop "${car}x${car}+${cx}+${cy}" "$work/start-$1-$2.png"
}
titled() { xdotool getwindowname "$1" | grep -q "$2"; }

launch host --host=$port
answer_of "$host_pid" "Host a Network Game" "Ann"
wait_for window_of "$host_pid" '^Hosting a Network Game$' >/dev/null || fail "the host shows no waiting box"
launch join --join=127.0.0.1:$port
answer_of "$join_pid" "Join a Network Game" "Bob"
# Each player closes the instructions on their own machine. Both boxes are up first: a box that opens
# takes the keyboard's focus, and would take the Enter meant for the other.
for pid in "$host_pid" "$join_pid"; do
    wait_for window_of "$pid" '^Instructions$' >/dev/null || fail "no instructions came up on $pid"
done
answer_of "$host_pid" "Instructions" ""
answer_of "$join_pid" "Instructions" ""
mkdir -p "$build/screenshots"
hostwin=$(wait_for window_of "$host_pid" '^Squeakrun! - player 1 ') || fail "no host window"
joinwin=$(wait_for window_of "$join_pid" '^Squeakrun! - player 2 ') || fail "no joiner window"

# The joiner presses the start button; both cars stand at their start places.
look_at "$joinwin"
wait_for button_up || fail "the start button is not shown"
xdotool mousemove --sync $(at 3427 2167) click 1
for w in "$joinwin" "$hostwin"; do
    look_at "$w"
    wait_for eval '! button_up' || fail "the start button did not start the game in window $w"
    keep_start "$w" 1440 2040
    keep_start "$w" 5160 2040
done

# Each player turns right with the first key set: their own car drives off, on both windows.
xdotool windowfocus --sync "$hostwin" key d
xdotool windowfocus --sync "$joinwin" key d
for w in "$hostwin" "$joinwin"; do
    wait_for car_left "$w" 1440 2040 || fail "player 1's car did not move in window $w"
    wait_for car_left "$w" 5160 2040 || fail "player 2's car did not move in window $w"
done

# A joiner that falls silent is waited for, and the game goes on when it is back.
kill -STOP "$join_pid"
wait_for titled "$hostwin" "Waiting for Bob" || fail "the host does not wait for a silent joiner"
look_at "$hostwin"
import -window "$hostwin" "$build/screenshots/net-waiting.png"
kill -CONT "$join_pid"
wait_for eval '! titled "$hostwin" "Waiting for Bob"' || fail "the host still waits for a joiner that is back"

# A third player who calls is turned away with one line and records nothing, and the game goes on.
launch third --join=127.0.0.1:$port
answer_of "$third_pid" "Join a Network Game" "Cy"
wait_for eval '! kill -0 $third_pid 2>/dev/null' || fail "the third player's game did not end"
wait "$third_pid"
[ $? -eq 1 ] && [ "$(grep -c "^squeakrun: That game already has two players.$" "$work/log")" -eq 1 ] ||
    fail "the third player was not turned away with one line and exit status 1"
[ -z "$(ls -A "$work/third/rec" 2>/dev/null)" ] || fail "a game that never began recorded a session"

# The joiner pauses both games, and both say who did; then both show the same field.
xdotool windowfocus --sync "$joinwin" key ctrl+p
for w in "$hostwin" "$joinwin"; do
    wait_for titled "$w" "Bob paused the game" || fail "window $w does not say that Bob paused"
done
for w in "$hostwin" "$joinwin"; do
    look_at "$w"
    import -window root -crop "$((457 * scale))x$((417 * scale))+$X+$((Y + menubar))" "$work/field-$w.png"
    cp "$work/field-$w.png" "$build/screenshots/net-$w.png"
done
[ "$(compare -metric AE "$work/field-$hostwin.png" "$work/field-$joinwin.png" null: 2>&1 | cut -d' ' -f1)" = 0 ] ||
    fail "the two windows show different fields while paused"

# The joiner leaves: the host is told at once, and both sessions were recorded.
xdotool windowfocus --sync "$joinwin" key ctrl+x
wait_for eval '! kill -0 $join_pid 2>/dev/null' || fail "Ctrl+X did not end the joiner's game"
wait "$join_pid" || fail "the joiner's game exited with status $?"
join_pid=""
answer_of "$host_pid" "Network Game" ""
titled "$hostwin" "Bob left the game" || fail "the host does not say that Bob left"
game_pid=$host_pid
quit_game "$hostwin"
host_pid=""

for side in host join; do
    set -- "$work/$side"/rec/*.scn
    [ $# -eq 1 ] && [ -f "$1" ] || fail "the $side recorded $# sessions, not one"
    "$build/squeakrun-script" "$1" >"$work/$side.out" 2>&1 ||
        fail "the $side's session does not replay to its end: $(cat "$work/$side.out")"
    grep '^expect' "$1" >"$work/$side.end"
done
[ -s "$work/host.end" ] && cmp -s "$work/host.end" "$work/join.end" ||
    fail "the two sessions end apart: $(diff "$work/host.end" "$work/join.end")"
echo "PASS: hosted, joined, steered, paused and left; both sessions replay to the same end"
