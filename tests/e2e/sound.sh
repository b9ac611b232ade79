#!/usr/bin/env bash
# The game heard through a PulseAudio server of the test's own with a null sink: the real game under
# Xvfb, player 1 driven into the wall, the sink's monitor recorded. The crash is heard within 150 ms of
# its frame, every sound heard belongs to a cue, and with --mute nothing is heard; without the server
# the game plays on, saying so in one line.
# The crash's frame: asked to (QT_LOGGING_RULES), the game logs each cue on the monotonic clock as the
# rules announce it, in the run of the clock after which the window paints the car back at its start,
# so the cue's moment is the frame's. That it comes 1050 to 1130 ms of game time after the key (plus a
# little for the key's way in) shows the game keeps time by itself. onsets.py puts the recording on the
# same clock. Usage: sound.sh <squeakrun binary> <build folder>
set -u
game=$1
build=$2
here=$(dirname "$0")
source "$here/../x_session.sh"
source "$here/../../tools/sound/null_sink.sh"
command -v parec >/dev/null || fail "parec (package pulseaudio-utils) is needed to listen to the game"
export XDG_CONFIG_HOME="$work/config"
trap 'stop_null_sink; cleanup' EXIT
start_null_sink "$work" || { echo "SKIP: PulseAudio could not be started here:"; cat "$work/pulse.log"; exit 0; }
cp "$game" "$work/squeakrun"
cp -r "$build/images" "$build/sounds" "$work/"
now() { python3 -c 'import time; print(f"{time.monotonic() * 1000:.1f}")'; }

# One game into the wall with the given options: the recording in $work/heard (while the server runs),
# the cues in $work/log, and the windows shown at the end in $windows. With $stop_server set, the sound
# server goes away once the game has started.
drive_into_wall() {
    local listener=""
    if [ -n "$null_sink_pid" ]; then
        python3 "$here/onsets.py" >"$work/heard" &
        listener=$!
        sleep 1
    fi
    (cd "$work" && QT_LOGGING_RULES="squeakrun.sound.debug=true" QT_MESSAGE_PATTERN="%{time boot} %{message}" \
        exec ./squeakrun "$@" >"$work/log" 2>&1) &
    game_pid=$!
    start_up
    xdotool windowfocus --sync "$main"
    eval "$(xdotool getwindowgeometry --shell "$main")"
    local scale=$((WIDTH / 457))
    # The start button's middle, 3427 x 2167 twips into the content below the menu bar.
    xdotool mousemove --sync $((X + 3427 * scale / 15)) $((Y + HEIGHT - 417 * scale + 2167 * scale / 15)) click 1
    sleep 3 # long enough for the speaker to give its stream up: the crash's sound needs a new one
    [ -n "${stop_server:-}" ] && stop_null_sink
    key_sent=$(now)
    xdotool key w
    sleep 2
    windows=$(xdotool search --onlyvisible --name . | wc -l)
    quit_game "$main"
    [ -z "$listener" ] || { kill -TERM "$listener" 2>/dev/null; wait "$listener"; }
}
heard() { echo "key sent at $key_sent; heard (begin, length in ms):"; cat "$work/heard"; }

drive_into_wall
crash=$(awk '$2 == "cue" && $3 == "crash" { printf "%.1f\n", $1 * 1000; exit }' "$work/log")
[ -n "$crash" ] || fail "the game announced no crash"
after_key=$(awk -v c="$crash" -v k="$key_sent" 'BEGIN { print c - k }')
awk -v d="$after_key" 'BEGIN { exit !(d >= 1050 && d <= 1400) }' || fail "the crash came $after_key ms after the key"
# A sound may seem to begin up to 20 ms before its cue: the null sink plays a little ahead of the clock.
awk -v crash="$crash" '
    FNR == NR { if ($2 == "cue") cue[++n] = $1 * 1000; next }
    $1 - crash >= -20 && $1 - crash <= 150 { crash_heard = 1 }
    { owned = 0; for (i = 1; i <= n; ++i) if ($1 >= cue[i] - 20 && $1 <= cue[i] + 500) owned = 1; stray += !owned }
    END { exit !(crash_heard && !stray) }' "$work/log" "$work/heard" || { heard; fail "the sounds do not match the cues"; }
echo "crash heard $(awk -v c="$crash" '$1 >= c - 20 { print $1 - c; exit }' "$work/heard") ms after its frame"

drive_into_wall --mute
grep -q "cue crash (muted)" "$work/log" || fail "with --mute the game announced no crash"
[ ! -s "$work/heard" ] || { heard; fail "with --mute something was heard"; }
# Without a sound server, or when it goes away, the game plays on silently: one line says so, no box.
for case in "went away" "no sound device"; do
    stop_server=1 drive_into_wall
    grep -q "cue crash" "$work/log" && [ "$windows" -eq 1 ] && [ "$(grep -c '^squeakrun: ' "$work/log")" -eq 1 ] &&
        grep -q "^squeakrun: .*$case" "$work/log" || fail "$case: $windows windows; $(cat "$work/log")"
done
echo "PASS: the crash is heard on time, nothing with --mute, and no sound server does no harm"
