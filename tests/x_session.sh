# The real game on a virtual X server, for the tests that drive it with real keys (sourced). Skips the
# test where there is no Xvfb; makes the scratch folder $work, removed on exit with the game
# ($game_pid) and the X server stopped; defines fail; starts Xvfb on a free display; finds, answers
# and waits for the game's windows. Every step waits for what it needs to see (a loaded machine runs
# the game seconds late), never for a fixed time, up to one deadline for the whole test.
if ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed"
    exit 0
fi
command -v xdotool >/dev/null || { echo "FAIL: xdotool is needed to drive the game"; exit 1; }

deadline=$((SECONDS + 240))
# Runs the command until it succeeds, or fails once the deadline has passed.
wait_for() {
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

work=$(mktemp -d)
chmod 755 "$work"
game_pid=""
xvfb_pid=""
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    chmod -R u+w "$work" # a test may have made part of it read-only
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    [ -f "$work/log" ] && sed 's/^/  game: /' "$work/log"
    exit 1
}

# A free display: the server picks it and writes its number to the file, then answers on it. It must
# not reset when its last client leaves: each xdotool call is a client, and a game connecting while
# the server resets finds no display.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
xvfb_answers() {
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb ended at start: $(cat "$work/xvfb.log")"
    DISPLAY=":$(head -n1 "$work/display" 2>/dev/null)" xdotool getdisplaygeometry >/dev/null 2>&1
}
wait_for xvfb_answers || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"

# The id of a shown window whose title matches, if there is one.
shown() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 | grep .
}
# The id of a box over the game window (id $1), if there is one.
box_over() {
    xdotool search --onlyvisible --name . 2>/dev/null | grep -vx "$1" | head -n1 | grep .
}
# " (the box TITLE lies over the window)" when a box lies over the game window (id $1), for a failure.
over_window() {
    local box
    box=$(box_over "$1") && echo " (the box \"$(xdotool getwindowname "$box")\" lies over the window)"
}
hidden() {
    ! xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1"
}
# Types TEXT into the box titled TITLE and presses Enter.
answer() {
    local id
    id=$(wait_for shown "^$1\$") || fail "no \"$1\" box came up"
    xdotool windowfocus --sync "$id"
    [ -n "$2" ] && xdotool type --delay 40 "$2"
    xdotool key Return
    wait_for hidden "$id" || fail "the \"$1\" box did not close"
}
# Answers the start-up boxes (Ann, Bob, difficulty 1, the instructions) and sets main to the id of
# the game window.
start_up() {
    answer "Name Entry" "Ann"
    answer "Name Entry" "Bob"
    answer "Enter Difficulty" "1"
    answer "Instructions" ""
    main=$(wait_for shown '^Squeakrun!$') || fail "the game window did not come up"
}
# Measures the game window: X, Y, the whole scale of its 457 x 417 content and the menu bar's height.
measure_window() {
    xdotool windowfocus --sync "$main"
    eval "$(xdotool getwindowgeometry --shell "$main")"
    scale=$((WIDTH / 457))
    menubar=$((HEIGHT - 417 * scale))
    [ "$scale" -ge 1 ] && [ "$menubar" -ge 0 ] || fail "unexpected window size ${WIDTH}x${HEIGHT}"
}
# Where the content's point at LEFT, TOP twips lies on the screen.
at() { echo $((X + $1 * scale / 15)) $((Y + menubar + $2 * scale / 15)); }
# Whether the start button (1920, 1440 twips, 3015 x 1455 large) shows: its face above the caption is yellow.
button_up() {
    local fx fy
    read -r fx fy < <(at 2220 1740)
    [ "$(import -window root -crop 4x4+$fx+$fy -format '%[fx:mean.r > 0.7 && mean.b < 0.5]' info:)" = 1 ]
}
# Starts a copy of the game ($game, with the artwork of $build) in $work with the ARGUMENTS, answers the
# start-up boxes and presses the start button in its middle.
start_race() {
    cp "$game" "$work/squeakrun"
    cp -r "$build/images" "$work/images"
    (cd "$work" && exec ./squeakrun "$@" >"$work/log" 2>&1) &
    game_pid=$!
    start_up
    measure_window
    wait_for button_up || fail "the start button is not shown"
    xdotool mousemove --sync $(at 3427 2167) click 1
    wait_for eval '! button_up' || fail "the start button did not start the game$(over_window "$main")"
}
# Keeps what the start place of player P (1 unless given: 1440, 2040 twips; player 2's 5160, 2040)
# shows in $work/NAME-P.png.
start_place() {
    local player=${2:-1} car=$(((255 * scale + 14) / 15)) cx cy
    read -r cx cy < <(at $((player == 2 ? 5160 : 1440)) 2040)
    import -window root -crop "${car}x${car}+${cx}+${cy}" "$work/$1-$player.png"
}
# Whether the start place of player P (1 unless given) shows something else than it did in
# $work/before-P.png.
left_start() {
    local player=${1:-1}
    start_place after "$player" &&
        [ "$(compare -metric AE "$work/before-$player.png" "$work/after-$player.png" null: 2>&1 | cut -d' ' -f1)" != 0 ]
}
# Ctrl+X on the game window (id $1) ends the game at once, with status 0; a box over it is answered first.
quit_game() {
    local status box
    while kill -0 "$game_pid" 2>/dev/null; do
        [ "$SECONDS" -lt "$deadline" ] || fail "Ctrl+X did not end the game"
        if box=$(box_over "$1"); then
            xdotool windowfocus --sync "$box" key Return 2>/dev/null
            wait_for hidden "$box" || fail "the box \"$(xdotool getwindowname "$box")\" did not close"
        else
            xdotool windowfocus --sync "$1" key ctrl+x 2>/dev/null # the window may be closing
            sleep 0.2
        fi
    done
    wait "$game_pid"
    status=$?
    game_pid=""
    [ "$status" -eq 0 ] || fail "the game exited with status $status"
}
