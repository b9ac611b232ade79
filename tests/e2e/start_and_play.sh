#!/usr/bin/env bash
# The real game on a virtual X server, played with real key and mouse events: both names and the
# difficulty are typed into the start-up boxes, the instructions are closed, the start button is
# clicked, both players steer for a few seconds, and a screenshot is kept in <build>/screenshots.
# Usage: start_and_play.sh <squeakrun binary> <build folder>
set -u

game=$1
build=$2

source "$(dirname "$0")/../x_session.sh"
for tool in import compare; do
    command -v "$tool" >/dev/null || fail "$tool is needed to look at the game"
done

# The game writes its high-score files next to itself: play from a folder of our own.
cp "$game" "$work/squeakrun"
cp -r "$build/images" "$work/images"

(cd "$work" && exec ./squeakrun >"$work/log" 2>&1) &
game_pid=$!

start_up
xdotool windowfocus --sync "$main"
eval "$(xdotool getwindowgeometry --shell "$main")"
# The window opened at a whole scale of the 457 x 417 content, below its menu bar.
scale=$((WIDTH / 457))
menubar=$((HEIGHT - 417 * scale))
[ "$scale" -ge 1 ] && [ "$menubar" -ge 0 ] || fail "unexpected window size ${WIDTH}x${HEIGHT}"
at() { echo $((X + $1 * scale / 15)) $((Y + menubar + $2 * scale / 15)); }

# The start button lies at 1920, 1440 twips and is 3015 x 1455 large: click its middle.
xdotool mousemove --sync $(at 3427 2167) click 1
sleep 0.3
# Player 1's car stands at 1440, 2040 twips: keep what that spot looks like.
car=$(((255 * scale + 14) / 15))
read -r cx cy < <(at 1440 2040)
import -window root -crop "${car}x${car}+${cx}+${cy}" "$work/before.png"

# Both players drive away from each other, turn, and stop.
xdotool windowfocus --sync "$main"
xdotool key s i
sleep 0.3
xdotool key d j
sleep 0.5
xdotool key r p e o
sleep 0.4
xdotool key w k
sleep 0.3
xdotool key q u
sleep 1

kill -0 "$game_pid" 2>/dev/null || fail "the game ended while it was played"
window '^Squeakrun!$' >/dev/null || fail "the game window is gone"
import -window root -crop "${car}x${car}+${cx}+${cy}" "$work/after.png"
changed=$(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1)
[ "${changed%% *}" != "0" ] || fail "player 1's car did not move: the keys did not reach the game"

mkdir -p "$build/screenshots"
import -window "$main" "$build/screenshots/game.png" || fail "no screenshot"

# A game message (a crash, say) may be waiting: answer it, then Ctrl+X ends the game at once.
close_boxes
quit_game "$main"
echo "PASS: started, played and exited; screenshot in $build/screenshots/game.png"
