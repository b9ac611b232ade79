#!/usr/bin/env bash
# The game's command line: --help and --version answer with no display at all; what the game does not
# know ends it with exit code 2 and one line on stderr; Qt's own options reach Qt, so -display picks
# the X server and -platform and -style are taken, and the game starts.
# Usage: command_line.sh <squeakrun binary> <build folder>
set -u

game=$1

source "$(dirname "$0")/../x_session.sh"
cd "$work"
# Qt warns on stderr when it has no runtime folder: give it one, so that stderr holds only the game's say.
mkdir -m 700 run
export XDG_RUNTIME_DIR=$work/run

for question in --help --version -v; do
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$game" "$question" >out 2>err
    status=$?
    [ "$status" -eq 0 ] || fail "$question without a display exited with $status: $(cat err)"
    [ -s out ] && [ ! -s err ] || fail "$question printed nothing, or complained: $(cat err)"
done
grep -q -- '--version' <("$game" --help) || fail "--help does not list --version"

for args in "--bogus" "stray" "-platform offscreen --bogus"; do
    # shellcheck disable=SC2086 # each case is several words
    "$game" $args >out 2>err
    status=$?
    [ "$status" -eq 2 ] || fail "'$args' exited with $status, not 2"
    [ "$(wc -l <err)" -eq 1 ] || fail "'$args' did not complain in one line: $(cat err)"
done

# The start-up box comes up on the display -display names, in the style -style names.
env -u DISPLAY "$game" -display "$DISPLAY" -style fusion >log 2>&1 &
game_pid=$!
window '^Name Entry$' >/dev/null || fail "with -display and -style, no \"Name Entry\" box came up"
kill "$game_pid"
wait "$game_pid" 2>/dev/null
game_pid=""

env -u DISPLAY "$game" -platform offscreen >log 2>&1 &
game_pid=$!
sleep 2
kill -0 "$game_pid" 2>/dev/null || fail "with -platform offscreen the game ended at once"
grep -q '^squeakrun:' log && fail "with -platform offscreen the game complained"
echo "PASS: --help and --version need no display, unknown options exit 2, Qt's options are Qt's"
