#!/bin/sh
# Checks the tree against the graph of rooms that README.md draws: each
# room's library links exactly the rooms the graph names under it, and its
# files include headers only of the rooms below it (those it links and what
# they stand on). Only window/ includes the form record, ui_widget.h.
# Usage: check_layers.sh <source root>
root=$1
status=0

# The graph: "<room>/ <library> -> <room>/ ..." lines of README.md's code
# block that follows the line "Rooms and what each stands on:".
graph=$(awk '/^Rooms and what each stands on:/ { found = 1; next }
             found && /^```/ { if (inside) exit; inside = 1; next }
             inside' "$root/README.md")
if [ -z "$graph" ]; then
  echo "README.md draws no graph of rooms" >&2
  exit 1
fi

rooms=$(echo "$graph" | awk '{ print $1 }' | sed 's#/$##')
library_of() { echo "$graph" | awk -v r="$1/" '$1 == r { print $2 }'; }
below() { echo "$graph" | awk -v r="$1/" '$1 == r { for (i = 4; i <= NF; ++i) if ($i ~ /\/$/) print substr($i, 1, length($i) - 1) }'; }

# Every room the room stands on, directly or through others.
reach() {
  todo=$(below "$1")
  seen=""
  while [ -n "$todo" ]; do
    next=""
    for r in $todo; do
      case " $seen " in *" $r "*) continue ;; esac
      seen="$seen $r"
      next="$next $(below "$r")"
    done
    todo=$next
  done
  echo "$seen"
}

# The libraries of ours that the room's CMakeLists.txt links its library to.
linked() {
  tr '\n' ' ' <"$root/$1/CMakeLists.txt" |
    grep -oE "target_link_libraries\( *$2 [^)]*\)" |
    grep -oE '\b(tarvo_[a-z_]+|trvo[a-z_]*)\b' | grep -vx "$2" | sort -u
}

for room in $rooms; do
  [ -d "$root/$room" ] || continue
  library=$(library_of "$room")
  # What the graph says the library links, against what CMake links.
  want=$(for r in $(below "$room"); do library_of "$r"; done | sort -u)
  if [ -f "$root/$room/CMakeLists.txt" ]; then
    own=$(grep -oE 'add_(library|executable)\( *[A-Za-z0-9_-]+' "$root/$room/CMakeLists.txt" | sed -E 's/.*\( *//')
    have=$(linked "$room" "$library" | grep -vxF "$own")
    if [ "$want" != "$have" ]; then
      echo "$room/ links $(echo $have) where the graph says $(echo $want)" >&2
      status=1
    fi
  fi
  allowed="$room $(reach "$room")"
  for header in $(find "$root/$room" -maxdepth 1 -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.c' \) \
                    -exec grep -hoE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+"' {} + |
                  sed -E 's/.*"([^"]+)"/\1/' | sort -u); do
    case $header in
      ui_widget.h) used=window/form ;;
      */*) used=${header%/*} ;;
      *) continue ;;
    esac
    echo " $rooms " | tr '\n' ' ' | grep -q " $used " || continue
    case " $allowed " in
      *" $used "*) ;;
      *)
        echo "$room/ includes $header, which is not below it" >&2
        status=1
        ;;
    esac
  done
done
exit $status
