#!/usr/bin/env bash
# The packaged game carries every hardening feature hardening-check looks for. Control-flow protection
# shows in a binary only when every object linked into it has it, the C library's start files among
# them; where those lack it (Debian 12) no program can show it, so it is left out of the check there.
# Usage: hardening.sh <binary>
set -u
options=()
start_file=$("${CXX:-c++}" -print-file-name=Scrt1.o)
if ! readelf -n "$start_file" | grep -q 'x86 feature: IBT, SHSTK'; then
    echo "NOTE: $start_file has no control-flow protection: not looked for"
    options+=(--nocfprotection)
fi
hardening-check "${options[@]}" "$1"
