#!/usr/bin/env bash
# Builds the Debian package (Release, without tests) into build-deb/; install it with
#   sudo apt install ./build-deb/zrk-pro_*.deb
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-deb"
"$top/scripts/deps.sh"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZRK_BUILD_TESTS=OFF \
      -DZRK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build"
cd "$build"
cpack -G DEB
ls -1 "$build"/*.deb
