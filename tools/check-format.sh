#!/bin/sh
# Lists the tracked C and C++ files that clang-format would lay out otherwise
# than they are (.clang-format at the top), and fails when there is one.
# It changes no file: `clang-format-14 -i FILE...` does.
# CLANG_FORMAT names another binary; only version 14 agrees with CI.
set -eu
cd "$(dirname "$0")/.."
format=${CLANG_FORMAT:-clang-format-14}

if ! command -v "$format" >/dev/null 2>&1; then
  echo "check-format.sh: no $format (make format-check installs it)" >&2
  exit 2
fi
# A .clang-format that does not parse would list every file.
if ! "$format" --dump-config >/dev/null; then
  echo "check-format.sh: $format cannot read .clang-format" >&2
  exit 2
fi

files=$(mktemp)
trap 'rm -f "$files"' EXIT
git ls-files -z -- '*.c' '*.h' '*.cpp' '*.hpp' '*.cc' >"$files"
count=$(tr -cd '\0' <"$files" | wc -c)
unformatted=$(xargs -0 -r -n 1 -P "$(nproc)" \
  sh -c '"$0" --dry-run -Werror "$1" >/dev/null 2>&1 || echo "$1"' "$format" <"$files" | sort)

if [ -n "$unformatted" ]; then
  echo "Out of format ($(echo "$unformatted" | wc -l) of $count files; clang-format-14 -i formats them):"
  echo "$unformatted"
  exit 1
fi
echo "All $count C and C++ files are in format."
