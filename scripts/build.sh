#!/usr/bin/env bash
# Configures and builds one or more of the three build trees under build/:
#   native  the portable core, its tests and benchmarks, with g++ on Linux
#   asan    the same with clang, AddressSanitizer and UndefinedBehaviorSanitizer, and the
#           libFuzzer programs of tests/fuzz (scripts/fuzz.sh runs them)
#   win     everything for Windows with MinGW-w64 (Orvinta.exe, MHookOV.dll, tests)
# Usage: scripts/build.sh [native] [asan] [win]   (default: all three)
#        OV_TARGETS="a b" builds only those targets of each tree (default: everything).
# A tree configured here compiles through ccache when it is installed, with its cache in
# build/ccache (CCACHE_DIR elsewhere if set; OV_CCACHE=0 turns it off), so building
# again after a clean or in another checkout of the same sources is quick.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
trees=("$@")
[ ${#trees[@]} -gt 0 ] || trees=(native asan win)
jobs=${OV_JOBS:-$(nproc)}

launcher=()
if [ "${OV_CCACHE:-1}" != 0 ] && command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_DIR=${CCACHE_DIR:-$root/build/ccache}
  # Paths inside the checkout are hashed relative to it; the test programs' precompiled
  # header is cached only with these sloppiness settings.
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
  export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros}
fi

for t in "${trees[@]}"; do
  dir=$root/build/$t
  case $t in
    native) args=(-DCMAKE_BUILD_TYPE=Release) ;;
    # One clang tree serves the sanitizer run of the tests and the fuzz programs: the core
    # is compiled once for both, with coverage for the fuzzer. -O1 and line tables are
    # what sanitizer reports need, at half the compile time of -O2 -g.
    asan)   args=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
                  "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG"
                  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG"
                  -DORV_FUZZ=ON -DORV_BUILD_BENCHMARKS=OFF) ;;
    win)    args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake") ;;
    *) echo "unknown build tree: $t" >&2; exit 2 ;;
  esac
  # A tree configured with other options than these (an older checkout's, or with or
  # without ccache) starts afresh: CMake keeps a tree's compilers once chosen.
  config="${args[*]} ${launcher[*]}"
  if [ -f "$dir/build.ninja" ] && [ "$(cat "$dir/ov-config.txt" 2>/dev/null)" != "$config" ]; then
    rm -rf "$dir"
  fi
  if [ ! -f "$dir/build.ninja" ]; then
    mkdir -p "$root/build"  # the configure log goes there before cmake makes the tree
    cmake -S "$root" -B "$dir" -G Ninja "${args[@]}" "${launcher[@]}" >"$root/build/$t.configure.log" 2>&1 ||
      { cat "$root/build/$t.configure.log"; exit 1; }
    printf '%s' "$config" >"$dir/ov-config.txt"
  fi
  echo "== build $t"
  log=$root/build/$t.build.log
  # shellcheck disable=SC2086  # OV_TARGETS is a list of names
  if ! ninja -C "$dir" -j "$jobs" ${OV_TARGETS:-} >"$log" 2>&1; then
    grep -v -E '^\[[0-9]+/[0-9]+\] ' "$log" | tail -n 80
    echo "build $t failed (whole log: $log)" >&2
    exit 1
  fi
  grep -E ': (warning|error):' "$log" | sort -u | head -n 40 || true
done
