#!/usr/bin/env bash
# Configures, builds and runs the tests under a sanitizer, through the CMake presets.
#
#   scripts/sanitize.sh asan   AddressSanitizer + UndefinedBehaviorSanitizer, whole suite
#                              but the map page's test, in build-asan/. That test runs
#                              Chromium (Qt WebEngine) inside the test process: Chromium is
#                              not built with the sanitizers and brings its own allocator,
#                              whose lifetime allocations LeakSanitizer would report as ours;
#                              the map's own logic is in the core and checked there.
#   scripts/sanitize.sh tsan   ThreadSanitizer, only the threaded tests (names holding
#                              session, worker, scan, firmware or e2e, either case; the
#                              test preset holds the pattern), in build-tsan/
#
# Extra arguments go to ctest (e.g. -R modem). Build jobs: SANITIZE_BUILD_JOBS (default 2).
set -euo pipefail
cd "$(dirname "$0")/.."

kind="${1:-asan}"
shift || true
case "$kind" in
  asan | tsan) ;;
  *)
    echo "usage: scripts/sanitize.sh [asan|tsan] [ctest arguments]" >&2
    exit 2
    ;;
esac

scripts/install-deps.sh
cmake --preset "$kind"
cmake --build --preset "$kind" -j "${SANITIZE_BUILD_JOBS:-2}"
ctest --preset "$kind" "$@"
