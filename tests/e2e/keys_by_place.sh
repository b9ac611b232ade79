#!/usr/bin/env bash
# The real game on a virtual X server whose keyboard has its letters moved the way a French keyboard
# moves them (A and Q, Z and W swapped): player 1's car still goes up on the key left of E, which now
# types Z, and the key that types W (bottom left) steers nobody.
# Usage: keys_by_place.sh <squeakrun binary> <build folder>
set -u

game=$1
build=$2

source "$(dirname "$0")/../x_session.sh"
command -v xmodmap >/dev/null || fail "xmodmap is needed to move the letters"
command -v import >/dev/null && command -v compare >/dev/null || fail "ImageMagick is needed to look at the game"

# The places are the X key codes of a PC keyboard: Q 24, W 25, A 38, Z 52 on a US one.
xmodmap -e 'keycode 24 = a A' -e 'keycode 25 = z Z' -e 'keycode 38 = q Q' -e 'keycode 52 = w W' ||
    fail "xmodmap could not move the letters"

# The keys a player of this machine chose must not be the test's.
export XDG_CONFIG_HOME="$work/config"
start_race --mute --record "$work/recorded"
start_place before

# The key that types W lies where a US keyboard has Z: it is nobody's.
xdotool key w
sleep 1
left_start && fail "the key that types W on this keyboard steered a car"
# The key left of E types Z here, and is player 1's up.
xdotool key z
wait_for left_start || fail "player 1's car did not move on the key left of E"

quit_game "$main"
recording=$(ls "$work"/recorded/*.scn 2>/dev/null | head -n1)
[ -n "$recording" ] || fail "--record wrote no session"
keys=$(grep '^key ' "$recording" | tr '\n' ' ')
[ "$keys" = "key w " ] || fail "the game took the keys \"$keys\" instead of player 1's up alone"
echo "PASS: player 1 steered up by the key's place with the letters moved"
