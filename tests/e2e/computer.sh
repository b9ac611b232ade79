#!/usr/bin/env bash
# The computer at the wheel of the real game on a virtual X server. With --computer=2 only player 1's
# keys are typed, and player 2's car drives off and scores by itself (bonus items lie off its start
# line, so a score means it steered to one); with --computer=both the demo starts its game by itself
# and both cars drive off. Each step waits for what it looks for, up to a limit, never a fixed time.
# Usage: computer.sh <squeakrun binary> <build folder>
set -u

game=$1
build=$2

source "$(dirname "$0")/../x_session.sh"
for tool in import compare; do
    command -v "$tool" >/dev/null || fail "$tool is needed to look at the game"
done
cp "$game" "$work/squeakrun"
cp -r "$build/images" "$work/images"
export XDG_CONFIG_HOME="$work/config" # never the real player's choices

# Starts the game with these options, answers the start-up boxes and measures the window.
play() {
    (cd "$work" && exec ./squeakrun "$@" >"$work/log" 2>&1) &
    game_pid=$!
    start_up
    xdotool windowfocus --sync "$main"
    eval "$(xdotool getwindowgeometry --shell "$main")"
    scale=$((WIDTH / 457))
    menubar=$((HEIGHT - 417 * scale))
}
# Keeps in file $1 what the screen shows of the place W x H twips large at LEFT, TOP of the content.
shot() {
    local w=$((($4 * scale + 14) / 15)) h=$((($5 * scale + 14) / 15))
    import -window root -crop "${w}x${h}+$((X + $2 * scale / 15))+$((Y + menubar + $3 * scale / 15))" "$1"
}
# Waits up to $1 seconds for the place of the picture $2 (LEFT TOP W H follow) to look otherwise.
leaves() {
    local limit=$1 was=$2
    shift 2
    for _ in $(seq $((limit * 5))); do
        shot "$work/now.png" "$@"
        [ "$(compare -metric AE "$was" "$work/now.png" null: 2>&1 | cut -d' ' -f1)" != 0 ] && return 0
        sleep 0.2
    done
    return 1
}
car1="1440 2040 255 255"
car2="5160 2040 255 255"
score2="4440 5640 855 255"
start="1920 1440 3015 1455"

# shellcheck disable=SC2086 # the places are four words each
{
    play --computer=2 --skill=hard
    # The field before the start: both cars at their start places, player 2's score 0, the button.
    shot "$work/car1.png" $car1
    shot "$work/car2.png" $car2
    shot "$work/score2.png" $score2
    shot "$work/start.png" $start
    xdotool mousemove --sync $((X + 3427 * scale / 15)) $((Y + menubar + 2167 * scale / 15)) click 1
    # Player 1 turns right and stops; nobody types a key of player 2's.
    xdotool windowfocus --sync "$main"
    xdotool key d
    sleep 0.2
    xdotool key q
    leaves 10 "$work/car2.png" $car2 || fail "player 2's car never left its start place"
    leaves 30 "$work/score2.png" $score2 || fail "player 2 never scored"
    close_boxes
    quit_game "$main"

    play --computer=both
    leaves 10 "$work/start.png" $start || fail "the demo never started its game"
    leaves 10 "$work/car1.png" $car1 || fail "in the demo, player 1's car never left its start place"
    leaves 10 "$work/car2.png" $car2 || fail "in the demo, player 2's car never left its start place"
    close_boxes
    quit_game "$main"
}
[ ! -e "$XDG_CONFIG_HOME/squeakrun/squeakrun.conf" ] || fail "a choice for one run was remembered"
echo "PASS: the computer drove player 2's car and scored; the demo started and drove both cars"
