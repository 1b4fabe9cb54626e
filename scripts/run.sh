#!/usr/bin/env bash
# Installs what is needed, builds, and starts Zrk Pro.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/deps.sh"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZRK_BUILD_TESTS=OFF -DZRK_BUILD_BENCH=OFF >/dev/null
cmake --build "$top/build" --target zrk-pro
exec "$top/build/src/main/zrk-pro" "$@"
