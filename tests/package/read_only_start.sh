#!/usr/bin/env bash
# The packaged game, unpacked into a root nobody may write to, starts from ROOT/usr/games on a virtual
# X server with every picture found, shows its window with no box over it, and Ctrl+X ends it.
# Usage: read_only_start.sh <folder holding squeakrun_*.deb>
set -u

debs=("$1"/squeakrun_*.deb)
[ -f "${debs[0]}" ] || { echo "FAIL: no squeakrun_*.deb in $1"; exit 1; }
source "$(dirname "$0")/../x_session.sh"
root=$work/root

dpkg-deb -x "${debs[0]}" "$root" || fail "could not unpack ${debs[0]}"
chmod -R a-w "$root"
mkdir -m 700 "$work/home" "$work/data" "$work/run"
# Root writes anywhere whatever the modes say: play as an ordinary user, as players do.
player=()
if [ "$(id -u)" -eq 0 ]; then
    chown 65534:65534 "$work/home" "$work/data" "$work/run"
    player=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi

(cd "$work/home" &&
    exec env -u XDG_CONFIG_HOME -u XDG_CACHE_HOME HOME="$work/home" XDG_DATA_HOME="$work/data" \
        XDG_RUNTIME_DIR="$work/run" "${player[@]}" "$root/usr/games/squeakrun" >"$work/log" 2>&1) &
game_pid=$!

start_up

# A missing picture is reported in a box just after the window shows: give it time to come up.
sleep 2
kill -0 "$game_pid" 2>/dev/null || fail "the game ended by itself"
for id in $(xdotool search --onlyvisible --name . 2>/dev/null | grep -vx "$main"); do
    fail "a box \"$(xdotool getwindowname "$id")\" came up over the game window"
done

quit_game "$main"
echo "PASS: the packaged game started read-only with all its pictures and quit on Ctrl+X"
