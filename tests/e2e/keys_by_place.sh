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
# The game reads the keyboard's letters when it starts: they must have moved by then.
letters_moved() {
    xmodmap -pke | grep -Eq '^keycode +25 = z Z' && xmodmap -pke | grep -Eq '^keycode +52 = w W'
}
wait_for letters_moved || fail "the X server never showed the moved letters"

# The keys a player of this machine chose must not be the test's.
export XDG_CONFIG_HOME="$work/config"
start_race --mute --record "$work/recorded"
start_place before 1
start_place before 2

# The key that types W lies where a US keyboard has Z: it is nobody's. Player 2's up (I, which no
# layout here moves) follows it and the game is paused at once: keys reach the game in the order they
# are sent, so once player 2's car has turned the game has taken the W, and player 1's car must stand
# as it stood. Paused, a turned car stays where it turned however late a busy machine lets us look.
xdotool key w i ctrl+p
wait_for left_start 2 || fail "player 2's car did not turn on its up key"
left_start 1 && fail "the key that types W on this keyboard steered player 1's car"
# The key left of E types Z here, and is player 1's up.
xdotool key ctrl+p z ctrl+p
wait_for left_start 1 || fail "player 1's car did not move on the key left of E"

quit_game "$main"
recording=$(ls "$work"/recorded/*.scn 2>/dev/null | head -n1)
[ -n "$recording" ] || fail "--record wrote no session"
keys=$(grep '^key ' "$recording" | tr '\n' ' ')
[ "$keys" = "key i key w " ] || fail "the game took the keys \"$keys\" instead of player 2's up and player 1's"
echo "PASS: player 1 steered up by the key's place with the letters moved"
