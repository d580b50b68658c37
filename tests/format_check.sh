#!/usr/bin/env bash
# Checks that every C++ source of the tree is formatted as the committed
# .clang-format says. Lists the files that are not; exit 77 (skipped) when
# clang-format is missing.
#
#   format_check.sh SOURCE_DIR
set -u
cd "$1" || exit 2
command -v clang-format >/dev/null || { echo "SKIPPED: clang-format not found (package clang-format)"; exit 77; }
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
  mapfile -t files < <(find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
bad=()
for f in "${files[@]}"; do
  [ -f "$f" ] || continue
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
  echo "Not formatted with .clang-format (run: clang-format -i FILE):"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
echo "${#files[@]} files formatted as .clang-format says"
