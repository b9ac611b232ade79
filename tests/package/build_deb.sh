#!/usr/bin/env bash
# Builds the Debian package as make package does, in its own folder OUT, and unpacks it into OUT/root.
# Fails when the package, its changelog and its AppStream release name different versions: a version
# bump must come with a changelog entry and a release note.
# Usage: build_deb.sh <out folder>
set -euo pipefail
out=$1

bash "$(dirname "$0")/../../packaging/build_package.sh" "$out"
debs=("$out"/squeakrun_*.deb)
rm -rf "$out/root"
dpkg-deb -x "${debs[0]}" "$out/root"

version=$(dpkg-deb -f "${debs[0]}" Version)
zcat "$out/root/usr/share/doc/squeakrun/changelog.gz" >"$out/changelog"
logged=$(dpkg-parsechangelog -l "$out/changelog" -S Version)
released=$(grep -o -m1 '<release version="[^"]*"' "$out"/root/usr/share/metainfo/*.metainfo.xml | cut -d'"' -f2)
[ "$logged" = "$version" ] || { echo "FAIL: the package is $version, its changelog's last entry $logged"; exit 1; }
[ "$released" = "$version" ] || { echo "FAIL: the package is $version, its newest AppStream release $released"; exit 1; }
echo "PASS: ${debs[0]##*/} built and unpacked"
