#!/usr/bin/env bash
# Installs what is needed, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs every test. Exits non-zero when any test fails.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-test"
"$top/scripts/deps.sh"
# Built for the tests: line tables are all a sanitizer's report needs (-g1); Qt's headers are
# precompiled (ZRK_PCH), as they are most of the compile time.
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZRK_SANITIZE=ON -DZRK_WERROR=ON \
  -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DZRK_PCH=ON >/dev/null
# The core on its own must configure too: a window test outside if(ZRK_GUI), or a core
# target that names a GUI one, fails here (core_arrows checks what links, below).
cmake -S "$top" -B "$build-core" -G Ninja -DZRK_GUI=OFF >/dev/null
cmake --build "$build"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j2
