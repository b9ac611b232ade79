#!/usr/bin/env bash
# Builds the Debian package in FOLDER the way Debian builds its own: the game alone, without the tests,
# compiled and linked with the flags dpkg-buildflags gives for every hardening feature, then packed by
# CPack. Says where the package is on its last line.
# Usage: build_package.sh <folder>
set -euo pipefail
source=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "$1" && cd "$1" && pwd)

# dpkg-buildflags maps the folder it runs in to "." in the debugging information: the source folder.
cd "$source"
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
# Debian 12's dpkg-buildflags leaves stack clash and control-flow protection to the compiler's
# defaults, which lack them; later releases add them. Add each the flags lack and the compiler knows.
for flag in -fstack-clash-protection -fcf-protection; do
    case " $CXXFLAGS " in *" $flag"*) continue ;; esac
    if echo 'int main() {}' | "${CXX:-c++}" -x c++ -Werror "$flag" -o /dev/null - 2>/dev/null; then
        CXXFLAGS="$CXXFLAGS $flag"
    fi
done

cmake -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=None -DBUILD_TESTING=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
    -DCMAKE_CXX_FLAGS="$CXXFLAGS $CPPFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS"
cmake --build "$build" -j"$(nproc)" --target squeakrun package-files
rm -f "$build"/squeakrun_*.deb
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$build"
debs=("$build"/squeakrun_*.deb)
echo "The package: ${debs[0]}"
