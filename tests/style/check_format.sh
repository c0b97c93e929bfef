#!/usr/bin/env bash
# Fails when a C++ source differs from what .clang-format makes of it, naming the files.
set -euo pipefail
cd "$(dirname "$0")/../.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -path ./build\* -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
bad=()
for f in "${files[@]}"; do
  clang-format --style=file --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
  echo "Not formatted with .clang-format (run: clang-format -i FILE):"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
echo "${#files[@]} files formatted"
