#!/usr/bin/env bash
# Fails when a tracked C++ file is not in the form .clang-format gives it, and names the files.
# Run `git ls-files '*.cpp' '*.h' | xargs clang-format -i` to put them right.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang-format >/dev/null; then
  echo "check-format: clang-format is missing (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
bad=()
while IFS= read -r -d '' file; do
  clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || bad+=("$file")
done < <(
  # The tracked files; outside a git checkout, every C++ file but the build folders'.
  git ls-files -z '*.cpp' '*.h' 2>/dev/null ||
    find . \( -path './build*' -o -path './.git' \) -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0)
if [ ${#bad[@]} -gt 0 ]; then
  echo "check-format: ${#bad[@]} file(s) differ from .clang-format:" >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "check-format: every tracked C++ file follows .clang-format"
