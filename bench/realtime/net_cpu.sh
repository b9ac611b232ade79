#!/usr/bin/env bash
# What a network game costs in the window beside a game on one keyboard: the CPU (every thread's time on
# the CPU, from /proc/PID/task/*/schedstat) of the game over SECONDS of play, each car steered round a loop of its own
# by key presses (a turn every 0.4 s), medians of RUNS runs. The game on one keyboard gets both players'
# keys; in the network game the host and the joiner, each on an X server of its own as on two machines,
# get their own player's keys and play over this machine's loopback.
# Usage: net_cpu.sh <squeakrun binary> [SECONDS] [RUNS]
set -u
game=$(realpath "$1")
seconds=${2:-30}
runs=${3:-3}
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; cat "$work/log" >&2; rm -rf "$work"' EXIT

# Starts an X server on a free display; sets display to its number.
new_display() {
    local file=$work/display.$RANDOM
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$file" >/dev/null 2>&1 &
    pids+=($!)
    until [ -s "$file" ]; do sleep 0.1; done
    display=$(head -n1 "$file")
}
# Waits for a shown window of process $2 on display $1 titled like $3 and prints its id.
window() {
    local id
    until id=$(DISPLAY=:$1 xdotool search --all --onlyvisible --pid "$2" --name "$3" 2>/dev/null | head -n1 | grep .); do
        sleep 0.1
    done
    echo "$id"
}
# Types $4 and Enter into the box titled $3 of process $2 on display $1.
answer() {
    local id
    id=$(window "$1" "$2" "^$3\$")
    DISPLAY=:$1 xdotool windowfocus --sync "$id" type --delay 20 "$4"
    DISPLAY=:$1 xdotool key Return
    while DISPLAY=:$1 xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$id"; do sleep 0.1; done
}
# Starts the game on display $1 in a folder of its own with the arguments after; sets pid.
launch() {
    local display=$1 folder=$work/run.$RANDOM
    shift
    mkdir -p "$folder"
    (cd "$folder" && XDG_CONFIG_HOME=$folder XDG_DATA_HOME=$folder DISPLAY=:$display exec "$game" --mute "$@" \
        >>"$work/log" 2>&1) &
    pid=$!
    pids+=("$pid")
}
# Clicks the start button of window $2 on display $1 (its middle, at 3427, 2167 twips).
start() {
    eval "$(DISPLAY=:$1 xdotool getwindowgeometry --shell "$2")"
    local scale=$((WIDTH / 457))
    local menubar=$((HEIGHT - 417 * scale))
    DISPLAY=:$1 xdotool windowfocus --sync "$2" mousemove --sync $((X + 3427 * scale / 15)) \
        $((Y + menubar + 2167 * scale / 15)) click 1
}
# The CPU time of every thread of process $1 so far, in ns.
cpu_ticks() { cat /proc/"$1"/task/*/schedstat | awk '{ ns += $1 } END { print ns }'; }
# Steers round loops for $seconds: display $1 gets the keys $2, display $3 (if any) the keys $4.
steer() {
    local end=$((SECONDS + seconds)) i=0
    while [ "$SECONDS" -lt "$end" ]; do
        DISPLAY=:$1 xdotool key "${2:i%4:1}"
        [ -n "${3:-}" ] && DISPLAY=:$3 xdotool key "${4:i%4:1}"
        i=$((i + 1))
        # SHOTS=FOLDER keeps what the displays show half way through, to see that the cars drive.
        if [ -n "${SHOTS:-}" ] && [ "$i" -eq $((seconds * 5 / 4)) ]; then
            import -display ":$1" -window root "$SHOTS/$1.png"
            [ -n "${3:-}" ] && import -display ":$3" -window root "$SHOTS/$3.png"
        fi
        sleep 0.4
    done
}
# The CPU in % of one core of ticks $1 to $2 over $seconds.
percent() { awk "BEGIN { printf \"%.2f\", ($2 - $1) / 1e7 / $seconds }"; }

one=() host=() join=()
for run in $(seq "$runs"); do
    new_display
    a=$display
    new_display
    b=$display
    launch "$a"
    local_pid=$pid
    answer "$a" "$local_pid" "Name Entry" Ann
    answer "$a" "$local_pid" "Name Entry" Bob
    answer "$a" "$local_pid" "Enter Difficulty" 2
    answer "$a" "$local_pid" Instructions ""
    start "$a" "$(window "$a" "$local_pid" '^Squeakrun!$')"
    # Player 1 loops right, up, left, down; player 2 left, up, right, down: away from each other.
    before=$(cpu_ticks "$local_pid")
    steer "$a" dwas "$a" jilk
    one+=("$(percent "$before" "$(cpu_ticks "$local_pid")")")
    kill "$local_pid"

    port=$((41000 + RANDOM % 100))
    launch "$a" --host=$port
    host_pid=$pid
    answer "$a" "$host_pid" "Host a Network Game" Ann
    window "$a" "$host_pid" '^Hosting a Network Game$' >/dev/null
    launch "$b" --join=127.0.0.1:$port
    join_pid=$pid
    answer "$b" "$join_pid" "Join a Network Game" Bob
    answer "$a" "$host_pid" Instructions ""
    answer "$b" "$join_pid" Instructions ""
    start "$b" "$(window "$b" "$join_pid" '^Squeakrun! - player 2')"
    DISPLAY=:$a xdotool windowfocus --sync "$(window "$a" "$host_pid" '^Squeakrun! - player 1')"
    before=$(cpu_ticks "$host_pid") before_join=$(cpu_ticks "$join_pid")
    steer "$a" dwas "$b" jilk
    host+=("$(percent "$before" "$(cpu_ticks "$host_pid")")")
    join+=("$(percent "$before_join" "$(cpu_ticks "$join_pid")")")
    kill "$host_pid" "$join_pid"
    echo "run $run: one keyboard ${one[-1]}%, host ${host[-1]}%, joiner ${join[-1]}% of one core (load $(cut -d' ' -f1-3 /proc/loadavg))"
done
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
m1=$(median "${one[@]}") mh=$(median "${host[@]}") mj=$(median "${join[@]}")
echo "median of $runs runs of ${seconds} s: one keyboard ${m1}%, host ${mh}% ($(awk "BEGIN { printf \"%.2f\", $mh / $m1 }")x)," \
    "joiner ${mj}% ($(awk "BEGIN { printf \"%.2f\", $mj / $m1 }")x); goal: at most 1.3x"
