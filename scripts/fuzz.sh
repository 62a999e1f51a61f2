#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz/ (clang, ASan, UBSan) and runs each of them,
# or the one named, for a number of seconds, one target at a time.
#
#   scripts/fuzz.sh [seconds] [target]      e.g. scripts/fuzz.sh 60 report_reply
#
# The seeds in fuzz/corpus/<target>/ are only read; what a run learns goes to
# build-fuzz/corpus/<target>/, and crashing or hanging inputs to build-fuzz/findings/<target>/.
# Prints executions and findings per target; exits 1 when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
only="${2:-}"
jobs="${FUZZ_BUILD_JOBS:-2}"

# The fuzz build needs only the core's own dependencies and clang with its runtimes.
install_fuzz_deps() {
  local missing=()
  for package in cmake ninja-build libsqlite3-dev clang libclang-rt-14-dev; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return
  echo "Installing: ${missing[*]}"
  local sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
}

install_fuzz_deps

targets=()
for source in fuzz/*.cpp; do
  name="$(basename "$source" .cpp)"
  if [ -z "$only" ] || [ "$only" = "$name" ]; then
    targets+=("$name")
  fi
done
[ ${#targets[@]} -gt 0 ] || { echo "No fuzz target named '$only'." >&2; exit 2; }

if [ ! -f build-fuzz/build.ninja ]; then
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DKV820_FUZZ=ON \
    -DKV820_BUILD_APP=OFF -DKV820_BUILD_TESTS=OFF -DKV820_BUILD_BENCH=OFF
fi
cmake --build build-fuzz -j "$jobs" --target "${targets[@]/#/fuzz_}"

summary=()
found_any=0
for name in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$name"
  findings="build-fuzz/findings/$name"
  log="build-fuzz/logs/$name.log"
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  started="build-fuzz/logs/$name.started"
  touch "$started"
  echo "== $name: ${seconds}s"
  set +e
  # -timeout: one input running longer than 10 s counts as a hang; -rss_limit_mb: as a leak.
  "build-fuzz/fuzz/fuzz_$name" "$corpus" "fuzz/corpus/$name" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" >"$log" 2>&1
  status=$?
  set -e
  executions="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
  count="$(find "$findings" -type f -newer "$started" | wc -l)"
  [ "$status" -ne 0 ] && [ "$count" -eq 0 ] && count="?"
  if [ "$status" -ne 0 ] || [ "$count" != 0 ]; then
    found_any=1
    grep -m3 -E "ERROR:|invariant failed|runtime error" "$log" || true
  fi
  summary+=("$(printf '%-20s executions %12s   findings %s' "$name" "${executions:-?}" "$count")")
done

echo
printf '%s\n' "${summary[@]}"
echo "Logs in build-fuzz/logs/, findings in build-fuzz/findings/."
exit "$found_any"
