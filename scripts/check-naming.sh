#!/usr/bin/env bash
# Checks the names in the C++ files changed by the last commits against the one naming rule
# of .clang-tidy (readability-identifier-naming). A changed header is checked through the
# source file of the same name, or else through every source file that includes it.
# Usage: scripts/check-naming.sh [BASE]   ("all": every file)
# Without BASE it checks what changed since the commit in .ci/naming-base, the last one
# whose every file was checked (update it after a run of "all").
# Needs build/compile_commands.json (scripts/build.sh makes it).
set -euo pipefail
cd "$(dirname "$0")/.."

base="${1:-$(cat .ci/naming-base 2>/dev/null || echo HEAD~20)}"
if [ "$base" != all ] && ! git rev-parse -q --verify "$base^{commit}" > /dev/null 2>&1; then
  base=$(git rev-list --max-parents=0 HEAD)
fi
checked='^(src|tests|tools|bench)/.*\.(cpp|h)$'
if [ "$base" = all ]; then
  changed=$(git ls-files | grep -E "$checked" || true)
else
  changed=$(git diff --name-only --diff-filter=AMR "$base" | grep -E "$checked" || true)
fi

sources=()
for file in $changed; do
  [ -f "$file" ] || continue
  case "$file" in
    *.cpp) sources+=("$file") ;;
    *.h)
      if [ -f "${file%.h}.cpp" ]; then
        sources+=("${file%.h}.cpp")
      else
        mapfile -t includers < <(git grep -l "#include \"${file#*/}\"" -- '*.cpp' || true)
        sources+=("${includers[@]}")
      fi
      ;;
  esac
done
# Only what the build compiles can be checked (the fuzz targets build on their own).
mapfile -t sources < <(printf '%s\n' "${sources[@]}" | sort -u |
  while read -r f; do [ -n "$f" ] && grep -q "\"file\": \"$PWD/$f\"" build/compile_commands.json && echo "$f"; done)
if [ ${#sources[@]} -eq 0 ]; then
  echo "No changed C++ file to check"
  exit 0
fi
echo "Checking the names in ${#sources[@]} files"
# clang 14 cannot compile a few tests (aggregates built with parentheses, which GCC takes):
# their names are checked as far as clang gets, and they are listed.
report=$(printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p build --quiet 2>&1 || true)
unparsed=$(echo "$report" | grep -oE '^[^ :]+\.(cpp|h):[0-9]+:[0-9]+: error: .*\[clang-diagnostic-error\]' |
  cut -d: -f1 | sort -u || true)
[ -n "$unparsed" ] && printf 'Not compiled by clang (checked in part):\n%s\n' "$unparsed"
if echo "$report" | grep -E 'readability-identifier-naming'; then
  echo "Names break the rule of .clang-tidy" >&2
  exit 1
fi
echo "Names follow .clang-tidy"
