#!/usr/bin/env bash
# The game's command line: --help and --version answer with no display at all; what the game does not
# know ends it with exit code 2 and one line naming it; Qt's own options reach Qt, and the game starts.
# Usage: command_line.sh <squeakrun binary> <build folder>
set -u
game=$1
source "$(dirname "$0")/../x_session.sh"
cd "$work"
# Qt warns on stderr when it has no runtime folder: give it one, so that stderr holds only the game's say.
mkdir -m 700 run
export XDG_RUNTIME_DIR=$work/run

for question in --help --version -v; do
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$game" "$question" >out 2>err ||
        fail "$question without a display exited with $?: $(cat err)"
    [ -s out ] && [ ! -s err ] || fail "$question printed nothing, or complained: $(cat err)"
done

# Qt's -platform and its value pass, so only the last word is left to complain about; with no display,
# so that the game, not the window system, answers.
for args in "--bogus" "stray" "-platform offscreen --bogus" "--style=fusion -reverse --bogus"; do
    # shellcheck disable=SC2086 # each case is several words
    env -u DISPLAY "$game" $args >out 2>err
    [ $? -eq 2 ] && [ "$(wc -l <err)" -eq 1 ] && grep -q "'${args##*[ -]}'" err ||
        fail "'$args' did not end with exit code 2 and one line naming '${args##*[ -]}': $(cat err)"
done

# So is a choice of driver or skill, a port or an address the game does not know, naming the value.
for args in --computer=3 --skill=expert --host=70000 --join=box:0; do
    env -u DISPLAY "$game" "$args" >out 2>err
    [ $? -eq 2 ] && [ "$(wc -l <err)" -eq 1 ] && grep -q "'${args#*=}'" err ||
        fail "'$args' did not end with exit code 2 and one line naming '${args#*=}': $(cat err)"
done

# The start-up box comes up on the X server -display names.
env -u DISPLAY "$game" -platform xcb -display "$DISPLAY" -style fusion >log 2>&1 &
game_pid=$!
wait_for shown '^Name Entry$' >/dev/null || fail "with Qt's options, no \"Name Entry\" box came up"
echo "PASS: --help and --version need no display, unknown options exit 2, Qt's options are Qt's"
