# The real game on a virtual X server, for the tests that drive it with real keys (sourced). Skips the
# test where there is no Xvfb; makes the scratch folder $work, removed on exit with the game
# ($game_pid) and the X server stopped; defines fail; starts Xvfb on a free display; finds, answers
# and waits for the game's windows, answers its messages.
if ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed"
    exit 0
fi
command -v xdotool >/dev/null || { echo "FAIL: xdotool is needed to drive the game"; exit 1; }

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

# A free display: the server picks it and writes its number to the file.
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
# Waits up to 10 s for the window with this id to go away.
gone() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1" || return 0
        sleep 0.1
    done
    return 1
}
# Types TEXT into the box titled TITLE and presses Enter.
answer() {
    local id
    id=$(window "^$1\$") || fail "no \"$1\" box came up"
    xdotool windowfocus --sync "$id"
    [ -n "$2" ] && xdotool type --delay 40 "$2"
    xdotool key Return
    gone "$id" || fail "the \"$1\" box did not close"
}
# Answers the start-up boxes (Ann, Bob, difficulty 1, the instructions) and sets main to the id of
# the game window.
start_up() {
    answer "Name Entry" "Ann"
    answer "Name Entry" "Bob"
    answer "Enter Difficulty" "1"
    answer "Instructions" ""
    main=$(window '^Squeakrun!$') || fail "the game window did not come up"
}
# Answers whatever game message is waiting (a crash, an outcome) with its default, up to five in a row.
close_boxes() {
    local box
    for _ in $(seq 5); do
        box=$(xdotool search --onlyvisible --name . 2>/dev/null | grep -vx "$main" | head -n1)
        [ -z "$box" ] && break
        xdotool windowfocus --sync "$box" && xdotool key Return
        sleep 0.3
    done
}
# Ctrl+X on the game window (id $1) ends the game at once, with exit status 0.
quit_game() {
    local status
    xdotool windowfocus --sync "$1"
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
}
