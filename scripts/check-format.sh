#!/usr/bin/env bash
# Checks that the C++ sources are formatted as .clang-format says; names the files that
# are not and fails. Fix them with `clang-format -i FILE`.
# The files are the tracked ones (git ls-files); without a git checkout (an exported
# tree), every source under the same folders.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
cd "$root"

if ! command -v clang-format >/dev/null; then
  echo "check-format: clang-format is not installed (scripts/setup.sh installs it)" >&2
  exit 1
fi

folders=(src tests bench)
files=()
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  while IFS= read -r -d '' f; do
    # A tracked file deleted in the work tree but not yet in the index.
    [ -f "$f" ] && files+=("$f")
  done < <(git ls-files -z -- "${folders[@]/%//*.cpp}" "${folders[@]/%//*.h}")
else
  while IFS= read -r -d '' f; do files+=("$f"); done \
    < <(find "${folders[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null)
fi
if [ ${#files[@]} -eq 0 ]; then
  echo "check-format: no sources found under ${folders[*]}" >&2
  exit 1
fi

# One run over all files; each violation is reported as "FILE:LINE:COLUMN: error: ...".
report=$(printf '%s\0' "${files[@]}" | xargs -0 clang-format --dry-run --Werror 2>&1) && status=0 || status=$?
if [ $status -eq 0 ]; then
  echo "check-format: ${#files[@]} files formatted"
  exit 0
fi
off=$(printf '%s\n' "$report" | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error: .*clang-format-violations.*/\1/p' | sort -u)
if [ -z "$off" ]; then
  # Not a formatting verdict (an unreadable file, a broken .clang-format): show it.
  printf '%s\n' "$report" >&2
  echo "check-format: clang-format failed" >&2
  exit 1
fi
echo "check-format: not formatted as .clang-format says ($(clang-format --version)):" >&2
printf '%s\n' "$off" | sed 's/^/  /' >&2
echo "Fix with: clang-format -i FILE...; the first differences:" >&2
printf '%s\n' "$report" | head -n 30 >&2
exit 1
