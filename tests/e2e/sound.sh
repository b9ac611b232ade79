#!/usr/bin/env bash
# The game heard through a PulseAudio server of the test's own with a null sink: the real game under
# Xvfb, player 1 driven into the wall, the sink's monitor recorded. The crash is heard within 150 ms of
# its frame, every sound heard belongs to a cue, and with --mute nothing is heard; without the server
# the game plays on, saying so in one line.
# The crash's frame: asked to (QT_LOGGING_RULES), the game logs each cue on the monotonic clock as the
# game announces it, in the run of the clock after which the window paints the car back at its start,
# so the cue's moment is the frame's. That it comes 1050 to 1130 ms of game time after the key reached
# the game (plus a little on a busy machine) shows the game keeps time by itself. Every step waits for
# what the game logs or the recording hears, never for a fixed time. onsets.py puts the recording on the
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

logged() { grep -q "$1" "$work/log"; }
# The speaker holds no stream to the server: it has given up each one it opened.
no_stream() { [ "$(grep -c 'stream opened' "$work/log")" -eq "$(grep -c 'stream given up' "$work/log")" ]; }
# When the game announced the crash, in ms on the monotonic clock.
crash_cue() { awk '$2 == "cue" && $3 == "crash" { printf "%.1f\n", $1 * 1000; exit }' "$work/log"; }
# Whether a sound began at the sink from 20 ms before the crash's cue on.
crash_heard() { awk -v c="$(crash_cue)" '$1 >= c - 20 { found = 1 } END { exit !found }' "$work/heard"; }

# One game into the wall with the given options: the recording in $work/heard (while the server runs),
# the cues in $work/log, and the windows shown at the end in $windows. With $stop_server set, the sound
# server goes away once the game has started. Each step waits for what the game or the recording says.
drive_into_wall() {
    local listener=""
    : >"$work/heard"
    if [ -n "$null_sink_pid" ]; then
        python3 "$here/onsets.py" >"$work/heard" 2>"$work/listening" &
        listener=$!
        wait_for grep -q listening "$work/listening" || fail "nothing could be recorded from the sink"
    fi
    (cd "$work" && QT_LOGGING_RULES="squeakrun.sound.debug=true;qt.qpa.events.debug=true" \
        QT_MESSAGE_PATTERN="%{time boot} %{message}" exec ./squeakrun "$@" >"$work/log" 2>&1) &
    game_pid=$!
    start_up
    xdotool windowfocus --sync "$main"
    eval "$(xdotool getwindowgeometry --shell "$main")"
    local scale=$((WIDTH / 457))
    # The start button's middle, 3427 x 2167 twips into the content below the menu bar.
    xdotool mousemove --sync $((X + 3427 * scale / 15)) $((Y + HEIGHT - 417 * scale + 2167 * scale / 15)) click 1
    wait_for logged "cue start" || fail "the start button did not start the game"
    # The start's sound played out and its stream given up: the crash's sound needs a new one.
    wait_for no_stream || fail "the speaker never gave its stream up"
    [ -n "${stop_server:-}" ] && stop_null_sink
    key_sent=$(now)
    xdotool key w
    wait_for logged "cue crash" || fail "the game announced no crash"
    if [ -n "${stop_server:-}" ]; then
        wait_for logged "^squeakrun: " || fail "the game did not say the sound is gone"
        sleep 0.5 # no box follows
    elif [ -n "$listener" ] && ! logged "(muted)"; then
        wait_for crash_heard || { heard; fail "the crash was never heard"; }
    else
        sleep 1 # long enough to hear a sound that should not be there
    fi
    windows=$(xdotool search --onlyvisible --name . | wc -l)
    quit_game "$main"
    [ -z "$listener" ] || { kill -TERM "$listener" 2>/dev/null; wait "$listener"; }
}
heard() { echo "key sent at $key_sent; heard (begin, length in ms):"; cat "$work/heard"; }

drive_into_wall
crash=$(crash_cue)
# From the key's arrival at the game (Qt logs each event it reads from the X server), however long a
# busy machine took to deliver it.
key_in=$(awk -v k="$key_sent" '/XCB_KEY_PRESS/ && $1 * 1000 >= k { printf "%.1f\n", $1 * 1000; exit }' "$work/log")
after_key=$(awk -v c="$crash" -v k="${key_in:-$key_sent}" 'BEGIN { print c - k }')
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
        ! grep -q '^ALSA lib' "$work/log" &&
        grep -q "^squeakrun: .*$case" "$work/log" || fail "$case: $windows windows; $(cat "$work/log")"
done
echo "PASS: the crash is heard on time, nothing with --mute, and no sound server does no harm"
