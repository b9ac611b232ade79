#!/bin/sh
# Runs a test as an ordinary user, as players run the game: root writes anywhere, whatever a
# folder's modes say. Where that user cannot reach the build (a checkout in root's home), the test runs
# as root, and the tests that need an ordinary user skip. Usage: as_player.sh PROGRAM [ARGUMENT...]
player="setpriv --reuid=65534 --regid=65534 --clear-groups"
if [ "$(id -u)" -eq 0 ] && $player test -x "$1" 2>/dev/null; then
    set -- $player "$@"
fi
exec "$@"
