#!/usr/bin/env bash
# Runs COMMAND with a PulseAudio server of its own playing into a null sink, so that squeakrun-realtime
# hears the game without a sound card; the server stops when COMMAND ends. Where no server can start,
# COMMAND runs all the same (it then measures no sound). Usage: with-null-sink.sh COMMAND [ARGUMENT...]
set -u
source "$(dirname "$0")/../../tools/sound/null_sink.sh"
dir=$(mktemp -d)
trap 'stop_null_sink; rm -rf "$dir"' EXIT
start_null_sink "$dir" || { echo "no sound server for the measurement:"; sed 's/^/  /' "$dir/pulse.log"; }
"$@"
