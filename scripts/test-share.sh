#!/usr/bin/env bash
# Prints how much of the C++ is tests, per area and overall, and fails when the overall
# share is outside 20-34 %: fewer tests leave faults uncaught, more mean tests that restate
# the code. Counted are the non-blank, non-comment lines of the tracked .cpp/.h files
# (git ls-files): blank lines, lines holding only a // comment and /* ... */ blocks are not.
# Tests are tests/ and fuzz/; code is src/, tools/ and bench/. An area's share is its tests
# against its tests and code together: tests/core/X against src/core/X, tests/app against
# src/app, tests/sim against tools/sim; the end-to-end tests, the test support and the
# fuzz targets test no one folder, the benchmarks are code without tests.
set -euo pipefail
cd "$(dirname "$0")/.."

readonly LOWEST=20 HIGHEST=34

git ls-files -- 'src/*.cpp' 'src/*.h' 'tools/*.cpp' 'tools/*.h' 'bench/*.cpp' 'bench/*.h' \
  'tests/*.cpp' 'tests/*.h' 'fuzz/*.cpp' 'fuzz/*.h' |
  awk -v lowest="$LOWEST" -v highest="$HIGHEST" '
    function code_lines(file,    line, n, in_block, end, start, rest) {
      n = 0
      in_block = 0
      while ((getline line < file) > 0) {
        if (in_block) {
          end = index(line, "*/")
          if (end == 0) continue
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
        if (line != "" && substr(line, 1, 2) != "//") n++
      }
      close(file)
      return n
    }
    # The area of a file and whether it is a test ("t") or code ("c").
    function classify(file,    parts) {
      split(file, parts, "/")
      kind = (parts[1] == "tests" || parts[1] == "fuzz") ? "t" : "c"
      if ((parts[1] == "src" || parts[1] == "tests") && parts[2] == "core" && parts[4] != "")
        area = "core/" parts[3]
      else if (parts[1] == "src" || parts[1] == "tests" || parts[1] == "tools") area = parts[2]
      else area = parts[1]
      # Files beside the area folders (the shared main of the core tests, the main program).
      if (area == "core") area = "core/*"
      else if (area ~ /\.(cpp|h)$/) area = parts[1] "/*"
    }
    function share(t, c) { return t + c ? 100 * t / (t + c) : 0 }
    {
      classify($0)
      n = code_lines($0)
      lines[area, kind] += n
      areas[area] = 1
      total[kind] += n
    }
    END {
      printf "%-16s %7s %7s %7s\n", "Area", "Tests", "Code", "Share"
      for (a in areas) {
        t = lines[a, "t"] + 0
        c = lines[a, "c"] + 0
        if (t && c) printf "%-16s %7d %7d %6.1f%%\n", a, t, c, share(t, c) | "sort"
        else printf "%-16s %7d %7d %7s\n", a, t, c, "-" | "sort"
      }
      close("sort")
      overall = share(total["t"], total["c"])
      printf "%-16s %7d %7d %6.1f%%\n", "Overall", total["t"], total["c"], overall
      if (overall < lowest || overall > highest) {
        printf "The test share %.1f%% is outside %d-%d%%.\n", overall, lowest, highest
        exit 1
      }
    }'
