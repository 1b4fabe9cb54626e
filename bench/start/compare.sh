#!/usr/bin/env bash
# Start to visible window, side by side: a bare Qt Widgets program showing one label against
# zrk-pro without a book and with a 100,000-entry book, started in turn under an X server
# of their own (Xvfb), each watched by bench-start-watch from its exec to its first window
# mapped ("map") and to the first drawing in that window ("paint"). Prints the medians and
# the ratios against the bare program.
#   bench/start/compare.sh [build directory (build-rel)] [starts of each (11)]
# zrk-pro runs in directories and with settings of its own, its port on the modem simulator.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$top/build-rel}" && pwd)
runs=${2:-11}
[ "$runs" -ge 9 ] || { echo "at least 9 starts of each" >&2; exit 2; }
cmake --build "$build" --target zrk-pro zrk-modemsim bench-start-bare bench-start-setup \
  bench-start-watch >/dev/null

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# An X server of our own, on the first free display it finds; -noreset, so that a program
# connecting just as the last one leaves is not refused during the reset.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 3>"$work/display" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -1 "$work/display")"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY SESSION_MANAGER
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"

# The simulator ends at the end of its input: a pipe that this script holds open.
mkfifo "$work/simin"
exec 4<>"$work/simin"
"$build/tools/zrk-modemsim" --link "$work/modem" <&4 4>&- >"$work/modemsim.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -e "$work/modem" ] && break; sleep 0.05; done
[ -e "$work/modem" ] || { echo "the modem simulator did not start" >&2; exit 1; }

"$build/bench/start/bench-start-setup" "$work/empty" "$work/modem" 0
"$build/bench/start/bench-start-setup" "$work/book" "$work/modem" 100000

watch() {  # <directory> <program>: prints "map <ms> paint <ms>"
  (cd "$1" && HOME="$1" XDG_CONFIG_HOME="$1/config" \
     "$build/bench/start/bench-start-watch" "$2")
}

# One start of each before the clock, so that every program finds its files cached.
watch "$work/empty" "$build/bench/start/bench-start-bare" >/dev/null
watch "$work/empty" "$build/src/apps/zrk-pro/zrk-pro" >/dev/null
watch "$work/book" "$build/src/apps/zrk-pro/zrk-pro" >/dev/null

# ZRK_START_PRELOAD=<library>: one more series without a book, with that library loaded at
# start, e.g. libQt6Multimedia.so.6 to show what the program paid when it was linked in.
for i in $(seq "$runs"); do
  watch "$work/empty" "$build/bench/start/bench-start-bare" >>"$work/bare"
  watch "$work/empty" "$build/src/apps/zrk-pro/zrk-pro" >>"$work/nobook"
  watch "$work/book" "$build/src/apps/zrk-pro/zrk-pro" >>"$work/withbook"
  if [ -n "${ZRK_START_PRELOAD:-}" ]; then
    LD_PRELOAD="$ZRK_START_PRELOAD" watch "$work/empty" "$build/src/apps/zrk-pro/zrk-pro" >>"$work/preload"
  fi
done

median() {  # <file> <field>
  awk -v f="$2" '{print $f}' "$1" | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'
}
echo "starts of each: $runs (medians, ms; exec to the first window mapped / painted)"
for field in 2 4; do
  [ "$field" = 2 ] && what=map || what=paint
  b=$(median "$work/bare" $field)
  n=$(median "$work/nobook" $field)
  w=$(median "$work/withbook" $field)
  awk -v what="$what" -v b="$b" -v n="$n" -v w="$w" 'BEGIN {
    printf "%-5s  bare %7.1f   zrk-pro without a book %7.1f (%.2fx)   with 100000 entries %7.1f (%.2fx)\n",
      what, b, n, n / b, w, w / b }'
done
if [ -n "${ZRK_START_PRELOAD:-}" ]; then
  for field in 2 4; do
    [ "$field" = 2 ] && what=map || what=paint
    awk -v what="$what" -v b="$(median "$work/bare" $field)" -v p="$(median "$work/preload" $field)" \
      'BEGIN { printf "%-5s  zrk-pro without a book, %s loaded at start %7.1f (%.2fx)\n", what,
               ENVIRON["ZRK_START_PRELOAD"], p, p / b }'
  done
fi
