#!/bin/sh
# Runs bench-saves with every sync made late (ZRK_SLOW_MS, 500 ms unless set), as on a slow
# USB stick or network share: ./run-slow.sh BUILD_DIR [DIRECTORY FOR THE FILES]
build=${1:?usage: run-slow.sh BUILD_DIR [DIR]}
shift
LD_PRELOAD="$build/bench/slowdisk/libzrk-slowdisk.so" exec "$build/bench/slowdisk/bench-saves" "$@"
