#!/usr/bin/env bash
# Builds the cabinet reader's libFuzzer target with clang (address and undefined-behaviour
# sanitizers) and runs it for the given number of seconds (default 60) from the seeds in
# tests/fuzz/corpus/cabinet. New inputs go to build/fuzz/corpus, crashes to build/fuzz/.
# Exits non-zero when the fuzzer finds a fault.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
out=$root/build/fuzz
mkdir -p "$out/corpus"
cxx=${FUZZ_CXX:-clang++}
srcs=(
  "$root/tests/fuzz/CabinetFuzz.cpp"
  "$root/src/core/backup/CabFormat.cpp" "$root/src/core/backup/CabReader.cpp" "$root/src/core/backup/FileTimes.cpp"
  "$root/src/core/platform/CodePage.cpp" "$root/src/core/platform/FileAttributes.cpp" "$root/src/core/util/Text.cpp" "$root/src/core/calendar/DateTime.cpp"
)
bin=$out/cabinet_fuzz
if [ ! -x "$bin" ] || [ -n "$(find "${srcs[@]}" "$root/src/core" -name '*.h' -newer "$bin" 2>/dev/null | head -n 1)" ] ||
   [ -n "$(find "${srcs[@]}" -newer "$bin" | head -n 1)" ]; then
  echo "== build cabinet_fuzz"
  "$cxx" -std=c++20 -fno-char8_t -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root/src" "${srcs[@]}" -lz -o "$bin"
fi
echo "== fuzz the cabinet reader for $seconds s"
cd "$out"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  "$bin" -max_total_time="$seconds" -max_len=200000 -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
  corpus "$root/tests/fuzz/corpus/cabinet" 2>"$out/fuzz.log" || { tail -n 60 "$out/fuzz.log"; exit 1; }
grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)|^Done' "$out/fuzz.log" || tail -n 3 "$out/fuzz.log"
