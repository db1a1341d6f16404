#!/usr/bin/env bash
# Builds the Debian package, meridal_VERSION_ARCH.deb, from a Release build, with
# CPack: the dependencies are those dpkg-shlibdeps reads from the programs, and
# Mesa for the 3D view. The package lands in the build folder; its path is printed
# last. scripts/check-package.sh then checks it.
#   usage: scripts/package.sh
# The build folder is MERIDAL_BUILD_DIR, by default build/, which scripts/run.sh and
# scripts/test.sh build too (Release, as here): where they have built it already,
# only the package is made.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh --gui --package
build=${MERIDAL_BUILD_DIR:-build}
# Everything is built just before the packing, in parallel: CPack need not go
# through the whole tree again.
options=(-DCMAKE_BUILD_TYPE=Release -DMERIDAL_BUILD_GUI=ON -DCMAKE_INSTALL_PREFIX=/usr
         -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON)
# A folder built for the package alone needs no tests; one the tests were built in
# keeps them.
[ -f "$build/CMakeCache.txt" ] || options+=(-DMERIDAL_BUILD_TESTS=OFF)
cmake -S . -B "$build" "${options[@]}" >/dev/null
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)"
rm -f "$build"/meridal_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/meridal_*.deb)
echo "$deb"
