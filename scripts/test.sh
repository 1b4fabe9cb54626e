#!/usr/bin/env bash
# Installs what is needed, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs every test. Exits non-zero when any test fails.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-test"
core="$top/build-test-core"
"$top/scripts/deps.sh"
# Built for the tests: line tables are all a sanitizer's report needs (-g1); Qt's headers are
# precompiled (ZRK_PCH), as they are most of the compile time.
flags=(-G Ninja -DCMAKE_BUILD_TYPE=Debug -DZRK_SANITIZE=ON -DZRK_WERROR=ON
       -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DZRK_PCH=ON)
# The core and its tests, without Qt Gui or Widgets, as a machine without a desktop builds it;
# then the desktop program, its windows and their tests, which leave the core's tests out.
cmake -S "$top" -B "$core" "${flags[@]}" -DZRK_GUI=OFF >/dev/null
cmake -S "$top" -B "$build" "${flags[@]}" -DZRK_CORE_TESTS=OFF >/dev/null
cmake --build "$core"
cmake --build "$build"
failed=0
for dir in "$core" "$build"; do
  (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j2) || failed=1
done
exit "$failed"
