#!/usr/bin/env bash
# The packaged game, unpacked into a root nobody may write to, starts from ROOT/usr/games on a virtual
# X server with every picture found, shows its window with no box over it, and Ctrl+X ends it.
# Usage: read_only_start.sh <folder holding squeakrun_*.deb>
set -u

debs=("$1"/squeakrun_*.deb)
[ -f "${debs[0]}" ] || { echo "FAIL: no squeakrun_*.deb in $1"; exit 1; }
if ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed"
    exit 0
fi
command -v xdotool >/dev/null || { echo "FAIL: xdotool is needed to drive the game"; exit 1; }

work=$(mktemp -d)
chmod 755 "$work"
root=$work/root
game_pid=""
xvfb_pid=""
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    chmod -R u+w "$work"
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    [ -f "$work/log" ] && sed 's/^/  game: /' "$work/log"
    exit 1
}

dpkg-deb -x "${debs[0]}" "$root" || fail "could not unpack ${debs[0]}"
chmod -R a-w "$root"
mkdir -m 700 "$work/home" "$work/data" "$work/run"
# Root writes anywhere whatever the modes say: play as an ordinary user, as players do.
player=()
if [ "$(id -u)" -eq 0 ]; then
    chown 65534:65534 "$work/home" "$work/data" "$work/run"
    player=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"

# The id of a shown window whose title matches, waiting up to 10 s for it.
window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
# Types TEXT into the start-up box titled TITLE and presses Enter; waits for the box to close.
answer() {
    local id
    id=$(window "^$1\$") || fail "no \"$1\" box came up"
    xdotool windowfocus --sync "$id"
    [ -n "$2" ] && xdotool type --delay 40 "$2"
    xdotool key Return
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$id" || return 0
        sleep 0.1
    done
    fail "the \"$1\" box did not close"
}

(cd "$work/home" &&
    exec env -u XDG_CONFIG_HOME -u XDG_CACHE_HOME HOME="$work/home" XDG_DATA_HOME="$work/data" \
        XDG_RUNTIME_DIR="$work/run" "${player[@]}" "$root/usr/games/squeakrun" >"$work/log" 2>&1) &
game_pid=$!

answer "Name Entry" "Ann"
answer "Name Entry" "Bob"
answer "Enter Difficulty" "1"
answer "Instructions" ""
main=$(window '^Squeakrun!$') || fail "the game window did not come up"

# A missing picture is reported in a box just after the window shows: give it time to come up.
sleep 2
kill -0 "$game_pid" 2>/dev/null || fail "the game ended by itself"
for id in $(xdotool search --onlyvisible --name . 2>/dev/null | grep -vx "$main"); do
    fail "a box \"$(xdotool getwindowname "$id")\" came up over the game window"
done

xdotool windowfocus --sync "$main"
xdotool key ctrl+x
for _ in $(seq 50); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$game_pid" 2>/dev/null && fail "Ctrl+X did not end the game"
wait "$game_pid"
status=$?
game_pid=""
[ "$status" -eq 0 ] || fail "the game exited with status $status"
echo "PASS: the packaged game started read-only with all its pictures and quit on Ctrl+X"
