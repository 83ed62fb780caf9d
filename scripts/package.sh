#!/usr/bin/env bash
# Builds the Debian package out/xlsload_<version>_<arch>.deb: installs what
# is missing, builds the program (without its tests) in build-package and
# packs it with CPack.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build=build-package
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
mkdir -p out
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build/package" >/dev/null
cp "$build"/package/xlsload_*.deb out/
ls out/xlsload_*.deb
