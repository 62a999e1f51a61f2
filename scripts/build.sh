#!/usr/bin/env bash
# Configures (once) and builds incrementally in build/. Extra arguments go to the build,
# e.g. "--target kv820-callcenter". KV820_BUILD_TYPE chooses the first configuration's
# build type: RelWithDebInfo (the default) or Release, the same optimisation without what a
# debugger needs.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${KV820_BUILD_TYPE:-RelWithDebInfo}" \
    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG"
fi
cmake --build build -j "$(nproc)" "$@"
