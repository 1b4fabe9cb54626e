#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs one of them, or all,
# for the given number of seconds:  scripts/fuzz.sh book|reminders|registry|regimport|modem|ncid|vcard|csv|history|all [SECONDS]
# The seeds in fuzz/corpus/<target> are read; what the run finds grows build-fuzz/corpus/<target>;
# a crashing input lands in build-fuzz/artifacts/<target>/ and the script fails. The targets
# run side by side, as many at once as there are cores (ZRK_FUZZ_JOBS sets another number).
# With ZRK_FUZZ_INSTALL=1 what the build needs is installed first when missing (CI): clang,
# and by name its libFuzzer and sanitizer runtimes, which clang only recommends.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-fuzz"
targets=(book reminders registry regimport modem ncid vcard csv history)
which=${1:-all}
seconds=${2:-30}

install() {
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "fuzz.sh: installing $*"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@"
}

# The runtimes -fsanitize=fuzzer,address,undefined links against, where this clang looks.
missing_runtimes() {
  local dir arch lib
  dir="$(clang++ -print-resource-dir)/lib/linux"
  arch=$(uname -m)
  for lib in fuzzer asan ubsan_standalone; do
    [ -e "$dir/libclang_rt.$lib-$arch.a" ] || echo "$dir/libclang_rt.$lib-$arch.a"
  done
}

if ! command -v clang++ >/dev/null; then
  if [ "${ZRK_FUZZ_INSTALL:-0}" = 1 ]; then
    install clang
  else
    echo "fuzz.sh: clang++ is needed (apt-get install clang)" >&2
    exit 2
  fi
fi
# Debian names the runtimes after clang's major version: libclang-rt-14-dev for clang 14.
runtimes="libclang-rt-$(clang++ -dumpversion | cut -d. -f1)-dev"
if [ -n "$(missing_runtimes)" ]; then
  if [ "${ZRK_FUZZ_INSTALL:-0}" = 1 ]; then
    install "$runtimes"
  fi
  if [ -n "$(missing_runtimes)" ]; then
    echo "fuzz.sh: clang's libFuzzer and sanitizer runtimes are missing (apt-get install" \
      "$runtimes):" >&2
    missing_runtimes | sed 's/^/  /' >&2
    exit 2
  fi
fi

if [ "$which" = all ]; then
  run=("${targets[@]}")
else
  case " ${targets[*]} " in
    *" $which "*) run=("$which") ;;
    *) echo "fuzz.sh: unknown target '$which' (${targets[*]} or all)" >&2; exit 2 ;;
  esac
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# The fuzz targets read what comes from outside, all of it the core's: no GUI is built. A
# crash's report needs line tables only (-g1).
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
  -DZRK_FUZZ=ON -DZRK_GUI=OFF -DZRK_BUILD_TESTS=OFF -DZRK_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" --target "${run[@]/#/fuzz_}"

# One target a core at a time (ZRK_FUZZ_JOBS): each still fuzzes for the seconds given.
jobs=${ZRK_FUZZ_JOBS:-$(nproc)}
fuzz_one() {
  local t=$1 corpus="$build/corpus/$1" artifacts="$build/artifacts/$1" max_len=4096 rc=0
  mkdir -p "$corpus" "$artifacts"
  # Records are larger than libFuzzer's default limit of 4096 bytes.
  case $t in book | reminders) max_len=16384 ;; esac
  # The targets change directory at start: every path given to them is absolute.
  ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen "$build/fuzz/fuzz_$t" \
    -max_total_time="$seconds" -max_len="$max_len" -timeout=20 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" "$top/fuzz/corpus/$t" \
    2>"$build/fuzz-$t.log" || rc=$?
  echo "$rc" >"$build/fuzz-$t.status"
}
for t in "${run[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do sleep 1; done
  echo "== $t: ${seconds}s"
  rm -f "$build/fuzz-$t.status"
  fuzz_one "$t" &
done
wait

status=0
passed=0
failed=0
for t in "${run[@]}"; do
  if [ "$(cat "$build/fuzz-$t.status" 2>/dev/null)" = 0 ]; then
    passed=$((passed + 1))
  else
    status=1
    failed=$((failed + 1))
    echo "== $t: FAILED, see $build/fuzz-$t.log and $build/artifacts/$t/" >&2
    tail -40 "$build/fuzz-$t.log" >&2  # what CI keeps of it
  fi
  echo "== $t:"
  grep -E '^#[0-9]+.*(DONE|pulse)|stat::number_of_executed_units|stat::peak_rss_mb' \
    "$build/fuzz-$t.log" | tail -3 || true
done
echo "fuzz: $passed passed, $failed failed"
exit $status
