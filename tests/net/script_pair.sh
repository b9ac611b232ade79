#!/bin/bash
# Two squeakrun-script processes play one network game on 127.0.0.1, host and joiner, each from its own
# scenario file, the joiner's packets through the relay at a 150 ms round trip with 5 % of them lost:
# both pass, print the same values for the same moments, and record the same session, which replays
# headless to the end both machines reached.
# usage: script_pair.sh SQUEAKRUN_SCRIPT SQUEAKRUN_RELAY
set -u
script=$1
relay=$2
here=$(dirname "$0")
work=$(mktemp -d)
trap 'kill $host_pid $relay_pid 2>/dev/null; rm -rf "$work"' EXIT
# Ports of this test's own, so two test runs at once do not meet each other's machines.
port=$((42100 + 2 * ($$ % 400)))

# A file the joiner's player cannot play (the settings are the host's) is refused before any link opens.
printf 'start\nwait 100\nmenu mnuFileSettings\n' >"$work/settings.scn"
"$script" --join=127.0.0.1:$port "$work/settings.scn" >"$work/settings.out" 2>&1
[ $? -eq 2 ] && grep -q "^MALFORMED .*settings.scn:3: menu mnuFileSettings (not this machine's player's" "$work/settings.out" || {
    cat "$work/settings.out"
    echo "FAIL: the joiner played the host's settings"
    exit 1
}

"$relay" $((port + 1)) $port --delay 75 --jitter 20 --loss 0.05 --reorder 0.02 --seed 7 &
relay_pid=$!
"$script" --host=$port --record "$work/host" "$here/host.scn" >"$work/host.out" 2>&1 &
host_pid=$!
sleep 0.3
"$script" --join=127.0.0.1:$((port + 1)) --record "$work/join" "$here/join.scn" >"$work/join.out" 2>&1
join_status=$?
wait $host_pid
host_status=$?

fail() {
    echo "FAIL: $1"
    echo "--- host"; cat "$work/host.out"
    echo "--- joiner"; cat "$work/join.out"
    exit 1
}
[ $host_status -eq 0 ] || fail "the host's file did not pass (status $host_status)"
[ $join_status -eq 0 ] || fail "the joiner's file did not pass (status $join_status)"
grep ' = ' "$work/host.out" >"$work/host.prints"
grep ' = ' "$work/join.out" >"$work/join.prints"
[ "$(wc -l <"$work/host.prints")" -eq 7 ] || fail "the host printed $(wc -l <"$work/host.prints") values, not 7"
diff "$work/host.prints" "$work/join.prints" >/dev/null || fail "the two machines printed different values"
# The host drove up and the joiner turned left at the same moment, and both turns show on both machines.
grep -qx 'p1dir = 4' "$work/host.prints" && grep -qx 'p2dir = 1' "$work/host.prints" ||
    fail "the two players' turns are not in the game both printed"

host_file=$(ls "$work"/host/*.scn) && join_file=$(ls "$work"/join/*.scn) || fail "a session was not recorded"
# The header says when it was recorded; the sessions themselves are one.
diff <(grep -v '^#' "$host_file") <(grep -v '^#' "$join_file") >/dev/null ||
    fail "the two machines recorded different sessions"
"$script" "$host_file" >"$work/replay.out" || { cat "$work/replay.out"; fail "the recorded session does not replay"; }
echo "PASS"
