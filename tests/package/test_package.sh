#!/bin/sh
# Builds the Debian package from a build tree, installs it with dpkg into a
# scratch root and starts the installed tool there.
#   test_package.sh <cpack> <build tree> <program folder relative to /usr> <reader simulator>
# dpkg --root runs the real installation (unpack, configure, status) without
# touching the machine's own package database; --force-depends because the
# scratch root holds none of the libraries, which the program takes from the
# machine as it would on a user's system.
set -eu

cpack=$1
build=$2
program_dir=$3
simulator=$4

scratch=$(mktemp -d)
tool=
readers=
cleanup() {
  for process in $tool $readers; do
    if kill -0 "$process" 2>/dev/null; then
      kill "$process"
      wait "$process" 2>/dev/null || true
    fi
  done
  rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack could not build the package"; }
set -- "$scratch"/out/tarvo-config_*.deb
[ -f "$1" ] || fail "cpack made no .deb"
deb=$1

root=$scratch/root
admin=$root/var/lib/dpkg
mkdir -p "$admin/info" "$admin/updates" "$admin/triggers"
: >"$admin/status"
: >"$admin/available"
dpkg --root="$root" --force-depends --force-not-root --log=/dev/null -i "$deb" \
  >"$scratch/dpkg.log" 2>&1 || { cat "$scratch/dpkg.log" >&2; fail "dpkg could not install the package"; }
dpkg-query --admindir="$admin" -W -f='${Status}' tarvo-config | grep -qx "install ok installed" ||
  fail "the package is not recorded as installed"

# Exactly the product's files, nothing of the tests, simulator or benchmarks.
expected="usr/bin/tarvo-config
usr/$program_dir/libtrvo.so.1
usr/$program_dir/libtrvo.so.1.0.0
usr/$program_dir/tarvo-config
usr/$program_dir/tarvo-config-gui.so
usr/$program_dir/tarvo-config-outputtest.so
usr/$program_dir/tarvo-config-print.so
usr/$program_dir/tarvo-config-readers.so
usr/$program_dir/update_config.lua
usr/share/applications/tarvo-config.desktop
usr/share/doc/tarvo-config/README.md
usr/share/doc/tarvo-config/changelog.gz
usr/share/icons/hicolor/32x32/apps/tarvo-config.png
usr/share/man/man1/tarvo-config.1.gz
usr/share/mime/packages/tarvo-config.xml
usr/share/tarvo-config/ansible/library/tarvo_reader.py"
shipped=$(cd "$root" && find usr ! -type d | LC_ALL=C sort)
[ "$shipped" = "$expected" ] ||
  fail "the package holds other files than the product's:
$shipped"
[ -x "$root/usr/bin/tarvo-config" ] || fail "the launcher is not executable"

# Every library that the installed program and device library link against
# directly is in the package or comes from a Debian package that Depends names.
depends=$(dpkg-deb -f "$deb" Depends)
[ -n "$depends" ] || fail "the package declares no Depends"
declared=$(echo "$depends" | tr ',|' '\n\n' | sed 's/(.*)//; s/ //g')
echo "$declared" | grep -q 'cjk\|wqy' || fail "Depends names no CJK font for the window's texts: $depends"
# Qt's own dialogs speak Chinese from a catalogue that no ldd sees.
catalogue=$(dpkg -S qtbase_zh_CN.qm 2>/dev/null | sed -n '1s/:.*//p')
[ -n "$catalogue" ] || fail "no Debian package holds Qt's Chinese catalogue qtbase_zh_CN.qm"
echo "$declared" | grep -qx "$catalogue" || fail "Qt's Chinese catalogue comes from $catalogue, which Depends does not name"
for binary in "$root/usr/$program_dir/tarvo-config" "$root/usr/$program_dir/tarvo-config-gui.so" \
  "$root/usr/$program_dir/tarvo-config-outputtest.so" "$root/usr/$program_dir/tarvo-config-print.so" \
  "$root/usr/$program_dir/tarvo-config-readers.so" \
  "$root/usr/$program_dir/libtrvo.so.1"; do
  ldd "$binary" >"$scratch/ldd.log" || fail "ldd cannot read $binary"
  for needed in $(readelf -d "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    library=$(awk -v name="$needed" '$1 == name && $2 == "=>" { print $3 }' "$scratch/ldd.log")
    case $library in
      /*) ;;
      *) fail "$binary: $needed not found" ;;
    esac
    case $library in
      "$root"/*) continue ;;
    esac
    # Debian 12 records a library under /lib or /usr/lib: ask for both.
    owner=$(dpkg -S "$library" 2>/dev/null || dpkg -S "/usr$library" 2>/dev/null || true)
    owner=${owner%%:*}
    [ -n "$owner" ] || fail "no Debian package holds $library"
    echo "$declared" | grep -qx "$owner" || fail "$library comes from $owner, which Depends does not name"
  done
done

# A file manager learns the file type from the MIME file and opens such
# files with the desktop entry.
mime=$scratch/mime
mkdir -p "$mime/packages"
cp "$root/usr/share/mime/packages/tarvo-config.xml" "$mime/packages/"
update-mime-database "$mime" >"$scratch/mime.log" 2>&1 ||
  { cat "$scratch/mime.log" >&2; fail "the MIME file does not build a MIME database"; }
grep -qx 'application/x-tarvo-config:\*\.tcfg' "$mime/globs" ||
  fail "the MIME database does not map *.tcfg to application/x-tarvo-config"
desktop=$root/usr/share/applications/tarvo-config.desktop
grep -qx 'MimeType=application/x-tarvo-config;' "$desktop" || fail "the desktop entry names no MimeType"
grep -qx 'Exec=tarvo-config %f' "$desktop" || fail "the desktop entry does not pass the file"

# The launcher prints a file's signed text from any folder, with the file
# named relative to that folder, and runs the program's own script, not one
# lying in the user's folder.
work=$scratch/work
mkdir -p "$work"
# A desktop session's runtime folder, which Qt would otherwise warn about.
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR="$scratch/runtime"
printf '___TRVO_CONFIG_V1.1.0___{ochannel=2,w_mode=1}\n' >"$work/rel.tcfg"
echo 'error("a planted script")' >"$work/update_config.lua"
printed=$(cd "$work" && TARVO_CONFIG_PASSWORD=0123456789abcdef QT_QPA_PLATFORM= \
          "$root/usr/bin/tarvo-config" --text rel.tcfg 2>"$scratch/text.log") ||
  { cat "$scratch/text.log" >&2; fail "the installed tool's --text failed"; }
case $printed in
  ___TRVO_CONFIG_V1.1.0___{*ochannel=2,*}--*) ;;
  *) fail "the installed tool's --text printed: $printed" ;;
esac
[ ! -s "$scratch/text.log" ] || { cat "$scratch/text.log" >&2; fail "--text wrote to standard error"; }

# Painting comes with the part that the window and --code load from the
# program's folder, and the output test with a part the window loads when
# the test is opened: the program itself needs neither Qt Gui nor a network
# library, and the window starts without the test's HTTP server and Qt
# Network.
needed=$(readelf -d "$root/usr/$program_dir/tarvo-config" | grep NEEDED)
case $needed in
  *libQt5Gui* | *libQt5Widgets* | *libQt5Network* | *libmicrohttpd*)
    fail "the program itself links what only painting needs: $needed" ;;
  *libQt5Sql* | *libQt5SerialPort* | *libudev* | *libtrvo*)
    fail "the program itself links what only the readers part needs: $needed" ;;
esac
needed=$(readelf -d "$root/usr/$program_dir/tarvo-config-gui.so" | grep NEEDED)
case $needed in
  *libQt5Network* | *libmicrohttpd*) fail "the painting part links what only the output test needs: $needed" ;;
  *libQt5PrintSupport*) fail "the painting part links what only printing needs: $needed" ;;
esac
(cd "$work" && TARVO_CONFIG_PASSWORD=0123456789abcdef QT_QPA_PLATFORM= \
  "$root/usr/bin/tarvo-config" --code rel.png rel.tcfg 2>"$scratch/code.log") ||
  { cat "$scratch/code.log" >&2; fail "the installed tool's --code failed"; }
[ "$(head -c 4 "$work/rel.png" | tail -c 3)" = "PNG" ] || fail "the installed tool's --code wrote no PNG"

usage=$(LANG=en_US.UTF-8 "$root/usr/bin/tarvo-config" --help | head -n 1)
[ "$usage" = "Usage: tarvo-config [options] [FILE]" ] || fail "--help starts: $usage"
LANG=en_US.UTF-8 "$root/usr/bin/tarvo-config" --help | grep -q "man tarvo-config" || fail "--help names no manual"
# The manual page renders and describes the command line; the changelog
# is one that Debian's tools read, up to the package's version.
manual=$(MANWIDTH=80 man -l "$root/usr/share/man/man1/tarvo-config.1.gz" 2>"$scratch/man.log") ||
  { cat "$scratch/man.log" >&2; fail "the manual page does not render"; }
# Every option --help names, but Qt's own --help-all.
options=$(LANG=en_US.UTF-8 "$root/usr/bin/tarvo-config" --help | grep -o -- '--[a-z-]*' | grep -vx -- --help-all | sort -u)
[ -n "$options" ] || fail "--help names no option"
for option in $options; do
  echo "$manual" | grep -q -- "$option" || fail "the manual page does not describe $option"
done
[ ! -s "$scratch/man.log" ] || { cat "$scratch/man.log" >&2; fail "the manual page has faults"; }
zcat "$root/usr/share/doc/tarvo-config/changelog.gz" >"$scratch/changelog"
logged=$(dpkg-parsechangelog -l "$scratch/changelog" -S Version 2>&1) || fail "the changelog does not parse: $logged"
[ "$logged" = "$(dpkg-deb -f "$deb" Version)" ] || fail "the changelog's last version $logged is not the package's"

# --write through the launcher reaches readers named by their links, and
# reads the file from the user's folder. Each simulated reader prints its
# port once it listens.
start_reader() {
  "$simulator" --port 0 --no-pty >"$scratch/$1.log" 2>&1 &
  readers="$readers $!"
}
port_of() {
  for _ in $(seq 50); do
    grep -q '^ready' "$scratch/$1.log" && break
    sleep 0.1
  done
  sed -n 's/^tcp 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$scratch/$1.log"
}
start_reader first
start_reader second
first=$(port_of first)
second=$(port_of second)
[ -n "$first" ] && [ -n "$second" ] || fail "the reader simulators did not start"
written=$(cd "$work" && TARVO_CONFIG_PASSWORD='Tarvo#Factory#16' QT_QPA_PLATFORM= LANG=en_US.UTF-8 \
          "$root/usr/bin/tarvo-config" --write rel.tcfg --device "tcp:127.0.0.1:$first" \
          --device "tcp:127.0.0.1:$second" 2>"$scratch/write.log") ||
  { cat "$scratch/write.log" >&2; fail "the installed tool's --write failed: $written"; }
# The readers are written side by side: their lines come as each finishes.
[ "$(echo "$written" | LC_ALL=C sort)" = "$(printf 'tcp:127.0.0.1:%s ok\ntcp:127.0.0.1:%s ok' "$first" "$second" | LC_ALL=C sort)" ] ||
  fail "the installed tool's --write printed: $written"
[ "$(cat "$scratch/write.log")" = "2 ok, 0 failed, 0 unknown" ] ||
  { cat "$scratch/write.log" >&2; fail "--write wrote more than its count to standard error"; }

# The installed launcher starts the installed program: it stays up, and the
# window has been shown once it logs the folder it runs in.
QT_QPA_PLATFORM=offscreen "$root/usr/bin/tarvo-config" >"$scratch/run.log" 2>&1 &
tool=$!
# A bound against a start that hangs, not a speed check: a sanitizer build on
# a busy machine takes seconds to show the window.
waited=0
until grep -q "\"$root/usr/$program_dir\"" "$scratch/run.log" || [ "$waited" -ge 600 ]; do
  kill -0 "$tool" 2>/dev/null || { cat "$scratch/run.log" >&2; fail "the installed tool ended at start"; }
  sleep 0.1
  waited=$((waited + 1))
done
grep -q "\"$root/usr/$program_dir\"" "$scratch/run.log" ||
  { cat "$scratch/run.log" >&2; fail "the installed tool did not show its window from its own folder"; }
kill -0 "$tool" 2>/dev/null || { cat "$scratch/run.log" >&2; fail "the installed tool ended at start"; }
echo "PASS: $(basename "$deb") installs and starts"
