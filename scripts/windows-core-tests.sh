#!/usr/bin/env bash
# Builds the core and every core test for 64-bit Windows with the MinGW-w64 cross compiler
# and runs them under Wine: the protocol, decoding, store, export and local-time code as a
# Windows desk runs it. The window is not part of it (no Qt for Windows is packaged here).
#
# Everything is built in build-windows/ (WINDOWS_BUILD_DIR for another folder):
#   sqlite/     Debian's sqlite3 source package and the amalgamation made from it
#   googletest/ GoogleTest from /usr/src/googletest (libgtest-dev), same compiler
#   deps/       both installed for the Windows build to find
#   core/       the core, the test support library and the test_core_* programs
# Wine runs in a fresh prefix in a temporary folder, without a display. Prints each
# program's counts and the total; exits non-zero on any failed test.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir="$PWD"

scripts/install-deps.sh windows

build_dir="$(realpath -m "${WINDOWS_BUILD_DIR:-build-windows}")"
deps="$build_dir/deps"
jobs="$(nproc)"
toolchain="$source_dir/cmake/mingw-w64-x86_64.cmake"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(ccache)
fi

# The amalgamation (one sqlite3.c) is made by SQLite's own build from the source package,
# with the machine's compiler and tclsh; only sqlite3.c itself is built for Windows. Modest
# optimisation: it is the largest file by far, and the tests put little load on it.
build_sqlite() {
  [ -f "$deps/lib/libsqlite3.a" ] && return
  local work="$build_dir/sqlite"
  rm -rf "$work" && mkdir -p "$work/amalgamation" "$deps/include" "$deps/lib"
  (cd "$work" && apt-get source -qq sqlite3 >/dev/null 2>"$work/source.log") || {
    cat "$work/source.log" >&2
    return 1
  }
  local source
  source="$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'sqlite3-*')"
  (cd "$work/amalgamation" && "$source/configure" --disable-tcl >configure.log 2>&1 &&
    make sqlite3.c >make.log 2>&1) || {
    tail -n 20 "$work/amalgamation"/*.log >&2
    return 1
  }
  "${launcher[@]}" x86_64-w64-mingw32-gcc-posix -O1 -DSQLITE_THREADSAFE=1 \
    -c "$work/amalgamation/sqlite3.c" -o "$work/sqlite3.o"
  x86_64-w64-mingw32-ar rcs "$deps/lib/libsqlite3.a" "$work/sqlite3.o"
  cp "$work/amalgamation/sqlite3.h" "$work/amalgamation/sqlite3ext.h" "$deps/include/"
  echo "SQLite $(cat "$source/VERSION") from Debian's source package ${source##*/}"
}

build_googletest() {
  [ -f "$deps/lib/cmake/GTest/GTestConfig.cmake" ] && return
  cmake -S /usr/src/googletest -B "$build_dir/googletest" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_COMPILER_LAUNCHER="${launcher[*]}" -DCMAKE_INSTALL_PREFIX="$deps" >/dev/null
  cmake --build "$build_dir/googletest" -j "$jobs" --target install >/dev/null
}

# -O1: on two shared cores the build is most of the time this takes, and the tests check
# behaviour, not speed.
build_core_tests() {
  if [ ! -f "$build_dir/core/build.ninja" ]; then
    cmake -S "$source_dir" -B "$build_dir/core" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_FIND_ROOT_PATH="$deps" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG" \
      -DKV820_BUILD_APP=OFF -DKV820_BUILD_BENCH=OFF >/dev/null
  fi
  # Warnings and errors only, not the progress lines.
  cmake --build "$build_dir/core" -j "$jobs" | { grep -v '^\[[0-9]*/[0-9]*\] ' || true; }
}

timed() {
  local start=$SECONDS
  "$@"
  echo "$1: $((SECONDS - start)) s"
}

# Adds "[  PASSED  ] n", "[  SKIPPED ] n" and "[  FAILED  ] n" of one program's summary.
passed=0 skipped=0 failed=0
count() {
  local log="$1" label="$2"
  sed -n "s/^\[  $label *\] \([0-9]*\) tests\{0,1\}[,.].*/\1/p" "$log" | head -n 1
}

# Each skipped test with the reason it gave.
list_skipped() {
  awk '/: Skipped$/ { getline reason }
       /^\[  SKIPPED \] .* \([0-9]+ ms\)$/ { print "  skipped " $4 ": " reason }' "$1"
}

run_tests() {
  local prefix
  prefix="$(mktemp -d)"
  # A fresh prefix each run, no display, no prompts for Wine's Mono and Gecko, no debug
  # chatter; the tests' zone is UTC unless a test sets its own, as under CTest.
  export WINEPREFIX="$prefix/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export TZ=UTC
  unset DISPLAY WAYLAND_DISPLAY
  wineboot --init >/dev/null 2>&1
  local program name log status
  for program in "$build_dir"/core/tests/test_core_*.exe; do
    name="$(basename "$program" .exe)"
    log="$prefix/$name.log"
    status=0
    # Wine's console ends lines with CR LF.
    (cd "$prefix" && wine "$program" 2>&1 | tr -d '\r' >"$log") || status=$?
    local p s f
    p="$(count "$log" PASSED)" s="$(count "$log" SKIPPED)" f="$(count "$log" FAILED)"
    printf '%-22s %3d passed, %d skipped, %d failed\n' "$name" "${p:-0}" "${s:-0}" "${f:-0}"
    list_skipped "$log"
    passed=$((passed + ${p:-0})) skipped=$((skipped + ${s:-0})) failed=$((failed + ${f:-0}))
    if [ "$status" -ne 0 ] || [ -n "${f:-}" ] || [ -z "${p:-}${s:-}" ]; then
      grep -v '^\[ \(RUN\|      OK\) ' "$log"
      # A program that ended without a summary (a crash) counts as one failure.
      [ -n "${f:-}" ] || failed=$((failed + 1))
    fi
  done
  wineserver --kill 2>/dev/null || true
  rm -rf "$prefix"
}

timed build_sqlite
timed build_googletest
timed build_core_tests
timed run_tests
echo "Wine: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
