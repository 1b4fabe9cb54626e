#!/usr/bin/env bash
# Installs what is needed, builds, and starts Zrk Pro.
#   ./scripts/run.sh          a demo: the modem simulator plays calls, in a directory and
#                             with settings of the demo's own (build/demo)
#   ./scripts/run.sh --modem  the real program with your settings, in the current directory
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-run"
"$top/scripts/deps.sh"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZRK_BUILD_TESTS=OFF -DZRK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target zrk-pro zrk-modemsim zrk-demo-setup

if [ "${1:-}" = "--modem" ]; then
  exec "$build/src/apps/zrk-pro/zrk-pro"
fi

demo="$build/demo"
link="$demo/modem"
mkdir -p "$demo"
"$build/tools/zrk-modemsim" --script "$top/tools/demo.sim" --loop --link "$link" \
  </dev/null >"$demo/modemsim.log" 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
"$build/tools/zrk-demo-setup" "$demo" "$link"
cd "$demo"
XDG_CONFIG_HOME="$demo/config" "$build/src/apps/zrk-pro/zrk-pro"
