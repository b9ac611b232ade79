#!/usr/bin/env bash
# The packaged binary is hardened and stripped as Debian's own: hardening-check passes, and lintian (to
# which these are mere notes) names no hardening feature missing and no section nobody needs. Control-flow
# protection shows only when every object linked in has it, the C library's start files too; where those
# lack it (Debian 12) no program can show it, so it is not looked for.
# Usage: hardened.sh <folder holding squeakrun_*.deb and its unpacked root/>
set -u
skip=()
readelf -n "$(c++ -print-file-name=Scrt1.o)" | grep -q 'IBT, SHSTK' || skip=(--nocfprotection)
hardening-check "${skip[@]}" "$1/root/usr/games/squeakrun" || exit 1
! lintian --allow-root --display-info "$1"/squeakrun_*.deb | grep -E 'hardening-|binary-has-unneeded-section'
