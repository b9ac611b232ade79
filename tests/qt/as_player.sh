#!/bin/sh
# Runs a test as an ordinary user, as players run the game: root writes anywhere, whatever a
# folder's modes say. Usage: as_player.sh PROGRAM [ARGUMENT...]
[ "$(id -u)" -ne 0 ] || set -- setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
exec "$@"
