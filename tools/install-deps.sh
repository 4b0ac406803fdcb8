#!/bin/sh
# Installs the Debian packages that building, running and testing need,
# and the further sets named as arguments, which only some targets use:
#   fuzz    clang with its sanitizer runtimes and libFuzzer (make fuzz, fuzz-ci)
#   format  clang-format (make format-check)
# Idempotent: packages already present are left alone, and nothing runs
# apt-get when everything is there.
set -eu

# Version 14 is Debian 12's; another clang-format lays out the same code
# differently, so the formatting check names its version.
extra=""
for set in "$@"; do
  case $set in
    fuzz) extra="$extra clang-14 libclang-rt-14-dev" ;;
    format) extra="$extra clang-format-14" ;;
    *) echo "install-deps.sh: no package set '$set' (fuzz, format)" >&2; exit 2 ;;
  esac
done

packages="
  cmake make g++ pkg-config
  qtbase5-dev libqt5svg5-dev qttools5-dev qttools5-dev-tools
  libqt5serialport5-dev
  libqt5sql5-sqlite libsqlite3-dev
  libmicrohttpd-dev
  liblua5.1-0-dev
  libqrencode-dev
  libzxing-dev poppler-utils libcsv-dev
  ansible-core
  shared-mime-info
  fonts-wqy-microhei qttranslations5-l10n
  xvfb xauth
  $extra
"

missing=""
for p in $packages; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
  as_root=""
elif command -v sudo >/dev/null 2>&1; then
  as_root="sudo"
else
  echo "Missing packages:$missing; run this script as root to install them." >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
$as_root apt-get update -qq
# shellcheck disable=SC2086
$as_root apt-get install -y -qq --no-install-recommends $missing
