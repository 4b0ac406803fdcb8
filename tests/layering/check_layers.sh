#!/bin/sh
# Fails when a folder includes a header of a folder it must not use. The
# layers, from the top: app -> config, qr, device, script, records -> crypto,
# trvo, files (config also uses script, whose bridge the import talks
# through; only app reads the form record). Usage: check_layers.sh <source root>
root=$1
status=0

# <folder> <the folders of ours it may include, besides itself>
check() {
  folder=$1
  shift
  [ -d "$root/$folder" ] || return 0
  allowed="$folder $*"
  for header in $(grep -rhoE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+"' "$root/$folder" |
                  sed -E 's/.*"([^"]+)"/\1/' | sort -u); do
    case $header in
      ui_widget.h) used=form ;;
      */*) used=${header%%/*} ;;
      *) continue ;;
    esac
    case " app form config qr device script records crypto trvo files " in
      *" $used "*) ;;
      *) continue ;;
    esac
    case " $allowed " in
      *" $used "*) ;;
      *)
        echo "$folder/ includes $header, which its layer must not use" >&2
        status=1
        ;;
    esac
  done
}

check config crypto script trvo files
check qr crypto trvo files
check device crypto trvo
check script crypto trvo
check records crypto trvo
check crypto
check trvo
check files
exit $status
