# A PulseAudio server of our own, playing into a null sink named "test", for what must hear the game
# without a sound card (sourced). start_null_sink DIR starts it with its runtime files in DIR and points
# the sound clients (the game, pactl, parec) at it; it fails, with the server's words in DIR/pulse.log,
# when the server cannot start. stop_null_sink stops it; callers do so in their exit trap.
null_sink_pid=""
start_null_sink() {
    export XDG_RUNTIME_DIR="$1/run" HOME="$1/home"
    mkdir -p "$XDG_RUNTIME_DIR" "$HOME"
    chmod 700 "$XDG_RUNTIME_DIR"
    command -v pulseaudio >/dev/null || { echo "pulseaudio is not installed" >"$1/pulse.log"; return 1; }
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --load=module-native-protocol-unix \
        --load="module-null-sink sink_name=test" >"$1/pulse.log" 2>&1 &
    null_sink_pid=$!
    for _ in $(seq 100); do
        pactl info >/dev/null 2>&1 && return 0
        kill -0 "$null_sink_pid" 2>/dev/null || break
        sleep 0.1
    done
    stop_null_sink
    return 1
}
stop_null_sink() {
    [ -n "$null_sink_pid" ] && kill "$null_sink_pid" 2>/dev/null && wait "$null_sink_pid" 2>/dev/null
    null_sink_pid=""
}
