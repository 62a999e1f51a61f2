#!/usr/bin/env bash
# Compiles the core's Windows branches with the MinGW cross compiler (syntax only): the
# program is built and tested on Linux, and this keeps the few places that call the C
# library differently on Windows from rotting unseen.
set -euo pipefail
cd "$(dirname "$0")/.."
compiler=x86_64-w64-mingw32-g++
command -v "$compiler" >/dev/null || { echo "$compiler is missing (scripts/install-deps.sh)" >&2; exit 1; }
files=(
  src/core/common/local_time.cpp
  src/core/records/export_file.cpp
)
for file in "${files[@]}"; do
  "$compiler" -std=c++20 -fsyntax-only -Wall -Wextra -Werror -Isrc "$file"
done
echo "Windows branches compile: ${files[*]}"
