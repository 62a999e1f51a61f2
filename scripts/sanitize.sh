#!/usr/bin/env bash
# Configures (once), builds and runs the tests under a sanitizer, through the CMake presets.
# Only the test programs that run are built: the sanitized tree builds no benchmarks and
# none of the widget tests that hold no device conversation.
#
#   scripts/sanitize.sh asan   AddressSanitizer + UndefinedBehaviorSanitizer over the core and
#                              the simulator, without Qt, in build-asan-core/: every parser,
#                              store and device conversation, on the fake link and the real
#                              simulator. This is the CI pass.
#   scripts/sanitize.sh asan-all  the same sanitizers in build-asan/ over
#                              the core, the simulator, the end-to-end tests and the widget
#                              tests that drive a conversation (session, set-up, scan,
#                              firmware). The map page's test stays out: it runs Chromium
#                              (Qt WebEngine) inside the test process, which is not built with
#                              the sanitizers and brings its own allocator, whose lifetime
#                              allocations LeakSanitizer would report as ours; the map's own
#                              logic is in the core and checked there.
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
  asan | asan-all | tsan) ;;
  *)
    echo "usage: scripts/sanitize.sh [asan|asan-all|tsan] [ctest arguments]" >&2
    exit 2
    ;;
esac

# The test programs that run, by target; each test carries its target as its label.
conversation_widget_tests='test_app_(reception_sms_session|setup_.*|ports_scan_com_port_dialog|firmware_firmware_wizard)_test'
preset="$kind"
case "$kind" in
  asan)
    preset=asan-core
    targets='^(test_core_.*|test_sim)$'
    ;;
  asan-all)
    preset=asan
    targets="^(test_core_.*|test_sim|test_e2e|${conversation_widget_tests})\$"
    ;;
  tsan) targets='^test_.*$' ;;
esac

scripts/install-deps.sh
build_dir=$(sed -n "/\"name\": \"$preset\"/,/binaryDir/s|.*\\\${sourceDir}/\([^\"]*\)\".*|\1|p" CMakePresets.json | head -1)
if [ ! -f "$build_dir/build.ninja" ]; then
  cmake --preset "$preset"
fi
mapfile -t wanted < <(ninja -C "$build_dir" -t targets all |
  sed -n 's/^\([A-Za-z0-9_.-]*\): phony$/\1/p' | grep -E "$targets")
cmake --build --preset "$preset" -j "${SANITIZE_BUILD_JOBS:-2}" --target "${wanted[@]}"
ctest --preset "$preset" -L "$targets" "$@"
