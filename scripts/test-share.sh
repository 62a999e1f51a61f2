#!/usr/bin/env bash
# Prints how much of the C++ is tests: non-blank, non-comment lines of .cpp/.h files in
# tests/ and fuzz/ against those in src/, tools/, bench/, tests/ and fuzz/. Blank lines,
# lines holding only a // comment and /* ... */ blocks are not counted.
set -euo pipefail
cd "$(dirname "$0")/.."

code_lines() {
  local dirs=()
  for dir in "$@"; do
    [ -d "$dir" ] && dirs+=("$dir")
  done
  [ ${#dirs[@]} -eq 0 ] && { echo 0; return; }
  find "${dirs[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 cat |
    awk '
      {
        line = $0
        if (in_block) {
          end = index(line, "*/")
          if (end == 0) next
          line = substr(line, end + 2)
          in_block = 0
        }
        # A block opening on a line of its own (possibly after code) runs to its "*/".
        while ((start = index(line, "/*")) > 0) {
          rest = substr(line, start + 2)
          end = index(rest, "*/")
          if (end == 0) { line = substr(line, 1, start - 1); in_block = 1; break }
          line = substr(line, 1, start - 1) substr(rest, end + 2)
        }
        sub(/^[ \t]+/, "", line)
        if (line == "" || substr(line, 1, 2) == "//") next
        count++
      }
      END { print count + 0 }'
}

tests=$(code_lines tests fuzz)
all=$(code_lines src tools bench tests fuzz)
awk -v t="$tests" -v a="$all" 'BEGIN {
  printf "Test share: %d of %d C++ lines are tests (%.1f%%)\n", t, a, a ? 100 * t / a : 0
}'
