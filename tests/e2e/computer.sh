#!/usr/bin/env bash
# The computer at the wheel of the real game on a virtual X server. With --computer=2 only player 1's
# keys are typed, and player 2's car drives off and scores by itself (bonus items lie off its start
# line, so a score means it steered to one); with --computer=both the demo starts its game by itself
# and both cars drive off. Each step waits for what it looks for, never for a fixed time.
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

# Starts the game with these options, answers the start-up boxes and waits for the start button.
play() {
    (cd "$work" && exec ./squeakrun "$@" >"$work/log" 2>&1) &
    game_pid=$!
    start_up
    measure_window
}
# Keeps in file $1 what the screen shows of the place W x H twips large at LEFT, TOP of the content.
shot() {
    local x y
    read -r x y < <(at "$2" "$3")
    import -window root -crop "$((($4 * scale + 14) / 15))x$((($5 * scale + 14) / 15))+$x+$y" "$1"
}
# Whether the place of the picture $1 (LEFT TOP W H follow) looks otherwise now.
changed() {
    local was=$1
    shift
    shot "$work/now.png" "$@"
    [ "$(compare -metric AE "$was" "$work/now.png" null: 2>&1 | cut -d' ' -f1)" != 0 ]
}
car1="1440 2040 255 255"
car2="5160 2040 255 255"
score2="4440 5640 855 255"
name2="5640 5640 855 255"

# shellcheck disable=SC2086 # the places are four words each
{
    play --computer=2 --skill=hard
    wait_for button_up || fail "the start button is not shown"
    # The field before the start: both cars at their start places, player 2's score 0 and name.
    shot "$work/car1.png" $car1
    shot "$work/car2.png" $car2
    shot "$work/score2.png" $score2
    shot "$work/name2.png" $name2
    xdotool mousemove --sync $(at 3427 2167) click 1
    # Player 1 turns right and stops; nobody types a key of player 2's.
    xdotool windowfocus --sync "$main"
    xdotool key d
    sleep 0.2
    xdotool key q
    wait_for changed "$work/car2.png" $car2 || fail "player 2's car never left its start place"
    wait_for changed "$work/score2.png" $score2 || fail "player 2 never scored"
    quit_game "$main"

    play --computer=both
    # Once the window shows what the first run showed of its panel, the cars leave their places
    # without anyone pressing the start button.
    wait_for eval '! changed "$work/name2.png" $name2' || fail "the demo's window was never painted"
    wait_for changed "$work/car1.png" $car1 || fail "the demo never drove player 1's car off"
    wait_for changed "$work/car2.png" $car2 || fail "the demo never drove player 2's car off"
    quit_game "$main"
}
[ ! -e "$XDG_CONFIG_HOME/squeakrun/squeakrun.conf" ] || fail "a choice for one run was remembered"
echo "PASS: the computer drove player 2's car and scored; the demo started and drove both cars"
