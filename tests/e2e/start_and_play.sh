#!/usr/bin/env bash
# The real game on a virtual X server, played with real key and mouse events: both names and the
# difficulty are typed into the start-up boxes, the instructions are closed, the start button is
# clicked, both players steer for a few seconds, and a screenshot is kept in <build>/screenshots. Each
# step waits for what the window shows, never for a fixed time.
# Usage: start_and_play.sh <squeakrun binary> <build folder>
set -u

game=$1
build=$2

source "$(dirname "$0")/../x_session.sh"
command -v import >/dev/null && command -v compare >/dev/null || fail "ImageMagick is needed to look at the game"

# The game writes its high-score files next to itself: play from a folder of our own.
start_race
start_place before
# Player 1 turns right, and the game is paused at once: the car at its spot now faces right, and stays
# so however late a busy machine lets us look (a car left driving would crash and stand at its start
# again, looking as before).
xdotool key d ctrl+p
wait_for left_start || fail "player 1's car did not turn: the keys did not reach the game"
xdotool key ctrl+p

# Both players turn and stop: these pauses only pace the play, nothing below depends on them.
xdotool key d j sleep 0.5 key r p e o sleep 0.4 key w k sleep 0.3 key q u sleep 1

kill -0 "$game_pid" 2>/dev/null || fail "the game ended while it was played"
shown '^Squeakrun!$' >/dev/null || fail "the game window is gone"
mkdir -p "$build/screenshots"
import -window "$main" "$build/screenshots/game.png" || fail "no screenshot"

quit_game "$main"
echo "PASS: started, played and exited; screenshot in $build/screenshots/game.png"
