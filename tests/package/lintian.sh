#!/usr/bin/env bash
# Lintian finds no error in the package, nor any sign of a binary built or stripped unlike Debian's own:
# a hardening feature missing, or a section left in that nobody needs (those are only warnings or
# notes to lintian, so they are looked for here).
# Usage: lintian.sh <folder holding squeakrun_*.deb>
set -u
report=$(lintian --allow-root --display-info --fail-on error "$1"/squeakrun_*.deb)
status=$?
echo "$report"
[ "$status" -eq 0 ] || { echo "FAIL: lintian found errors"; exit 1; }
if grep -E 'hardening-|binary-has-unneeded-section' <<<"$report" >/dev/null; then
    echo "FAIL: the game's binary is built or stripped unlike Debian's"
    exit 1
fi
echo "PASS: lintian is content"
