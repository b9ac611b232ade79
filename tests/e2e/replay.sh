#!/usr/bin/env bash
# A session played in the real window with real keys (names, difficulty, start, a visit to the upgrade
# station, a pause, the Game Settings window, crashes, the end of the game with a new record) and
# recorded with --record; the recording then replays headless with every expectation holding, and
# watched in the window at eight times the speed it ends on the very screen the session ended on,
# leaving the player's record files byte for byte as they were. A session that ends otherwise when
# watched says so.
# Usage: replay.sh <squeakrun binary> <build folder>
set -u

game=$1
build=$2

source "$(dirname "$0")/../x_session.sh"
command -v compare >/dev/null || fail "compare is needed to look at the game"

cp "$game" "$work/squeakrun"
cp -r "$build/images" "$work/images"
(cd "$work" && exec ./squeakrun --record "$work/recorded" >"$work/log" 2>&1) &
game_pid=$!

start_up
eval "$(xdotool getwindowgeometry --shell "$main")"
scale=$((WIDTH / 457))
menubar=$((HEIGHT - 417 * scale))
at() { echo $((X + $1 * scale / 15)) $((Y + menubar + $2 * scale / 15)); }
keys() {
    xdotool windowfocus --sync "$main"
    xdotool key "$@"
}
# Waits for the box titled $1 and presses Enter in it after typing $2.
box() { answer "$1" "${2:-}"; }

xdotool mousemove --sync $(at 3427 2167) click 1
sleep 0.3
# Player 1 drives left into the upgrade station, sells some tank for 100 points and leaves.
keys a
sleep 1.5
keys s
sleep 0.3
keys q w
sleep 0.2
keys ctrl+p
sleep 0.4
keys ctrl+p
sleep 0.3
keys ctrl+g
settings=$(wait_for shown '^Game Settings$') || fail "no Game Settings window"
xdotool windowfocus --sync "$settings"
xdotool key Escape
wait_for hidden "$settings" || fail "Game Settings did not close"
# The field takes the keyboard back; player 1 drives into the top wall until the last life is gone.
xdotool mousemove --sync $(at 3000 3000) click 1
until shown '^Game Over$' >/dev/null; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the game did not end"
    keys w
    sleep 1.6
done
box "Game Over"
box "Outcome"
box "Congratulations!" "Cheese for ever"
xdotool mousemove 1270 1010
sleep 0.5
# The game's picture below the menu bar (whose Options menu the replay window leaves out).
content="$((457 * scale))x$((417 * scale))+0+$menubar"
import -window "$main" -crop "$content" "$work/session.png" || fail "no screenshot of the session"
quit_game "$main"

recording=$(ls "$work"/recorded/*.scn 2>/dev/null | head -n1)
[ -n "$recording" ] || fail "--record wrote no session"
grep -q '^expect RichTextBox1.Text [1-9]' "$recording" || fail "the session set no record: $(cat "$recording")"
"$build/squeakrun-script" "$recording" >"$work/check" || { cat "$work/check" "$recording"; fail "the recording does not replay headless"; }

# Watching it touches none of the player's files.
(cd "$work" && md5sum hscore.txt name.txt comment.txt >"$work/records.md5") || fail "the session saved no record"
(cd "$work" && exec ./squeakrun --replay "$recording" >"$work/log" 2>&1) &
game_pid=$!
replay=$(wait_for shown 'replay') || fail "no replay window"
xdotool key --window "$replay" Right Right Right 2>/dev/null
replay=$(wait_for shown 'replay \(ended\)') || fail "the replay did not end"
xdotool mousemove 1270 1010
sleep 0.5
import -window "$replay" -crop "$content" "$work/replay.png" || fail "no screenshot of the replay"
differ=$(compare -metric AE "$work/session.png" "$work/replay.png" null: 2>&1)
[ "${differ%% *}" = "0" ] || fail "the replay ended on another screen ($differ pixels differ)"
(cd "$work" && md5sum --quiet -c "$work/records.md5") || fail "watching the replay changed the record files"
xdotool windowfocus --sync "$replay"
xdotool key Escape
wait_for eval '! kill -0 "$game_pid" 2>/dev/null' || fail "Esc did not end the replay"
game_pid=""

# A session whose end the game no longer reaches says so in a box once watched.
printf 'answer Ann\nanswer Bob\nanswer 1\nreply OK\nstart\nwait 50\nexpect lblscore1.Caption 7\n' >"$work/other.scn"
(cd "$work" && exec ./squeakrun --replay "$work/other.scn" >"$work/log" 2>&1) &
game_pid=$!
wait_for shown '^Replay$' >/dev/null || fail "no box told that the replay ended otherwise"

echo "PASS: recorded in the window, replayed headless and watched to the same end"
