#!/bin/sh
# check-format.sh in a scratch repository of its own: what it lists and how
# it exits. Exits 77 (skipped) without clang-format-14.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
format=${CLANG_FORMAT:-clang-format-14}
command -v "$format" >/dev/null 2>&1 || { echo "no $format: skipped"; exit 77; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# case_ NAME EXPECTED_STATUS EXPECTED_LIST PATH=TEXT...: a repository holding
# the project's .clang-format and the files, each tracked but those whose
# name starts with "loose".
case_() {
  name=$1 want_status=$2 want_list=$3
  shift 3
  repo=$scratch/$name
  mkdir -p "$repo/tools"
  cp "$here/check-format.sh" "$repo/tools/"
  cp "$here/../.clang-format" "$repo/"
  for file in "$@"; do
    mkdir -p "$repo/$(dirname "${file%%=*}")"
    printf '%b' "${file#*=}" >"$repo/${file%%=*}"
  done
  git -C "$repo" init -q
  git -C "$repo" add .clang-format tools
  for file in "$@"; do
    case ${file##*/} in loose*) ;; *) git -C "$repo" add "${file%%=*}" ;; esac
  done
  status=0
  out=$("$repo/tools/check-format.sh" 2>&1) || status=$?
  list=$(echo "$out" | grep -E '\.(c|h|cpp)$' | tr '\n' ' ')
  if [ "$status" != "$want_status" ] || [ "$list" != "$want_list" ]; then
    echo "FAIL $name: status $status (want $want_status), listed '$list' (want '$want_list')"
    failures=$((failures + 1))
  fi
}

case_ in-format 0 "" "a/x.cpp=int f(int *p)\\n{\\n    return *p;\\n}\\n"
case_ pointer-bound-left 1 "a/x.cpp " "a/x.cpp=int f(int* p)\\n{\\n    return *p;\\n}\\n"
case_ two-of-three-out 1 "b/y.h c.c " "a/x.cpp=int g();\\n" "b/y.h=int  g();\\n" "c.c=void h() {\\n}\\n"
case_ untracked-ignored 0 "" "a/x.cpp=int g();\\n" "a/loose.cpp=int  g();\\n"
printf 'BasedOnStyle: Nonesuch\n' >"$scratch/in-format/.clang-format"
status=0
"$scratch/in-format/tools/check-format.sh" >/dev/null 2>&1 || status=$?
[ "$status" = 2 ] || { echo "FAIL: an unreadable .clang-format gave $status, not 2"; failures=$((failures + 1)); }

[ "$failures" = 0 ] && echo "check-format.sh: all cases pass"
exit "$failures"
