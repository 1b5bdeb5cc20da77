#!/usr/bin/env bash
# Fails when the files of the shell's folders include each other in a circle of more than two
# class files (a header and its source count as one): such a circle means no piece can be
# understood, tested or changed without the others. Two files that know each other are allowed.
# Usage: check-include-cycles.sh SOURCE_DIR FOLDER...
set -euo pipefail
src="$1"
shift
cd "$src"
for folder in "$@"; do
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [ -e "$file" ] || continue
    sed -n 's/^#include "\(.*\)\.h".*/\1/p' "$file" | while read -r included; do
      [ -e "$included.h" ] && echo "${file%.*} $included"
    done
  done
done | awk '
  $1 != $2 { edge[$1, $2] = 1; out[$1] = out[$1] " " $2; node[$1] = node[$2] = 1 }
  END {
    # Each file with the files it reaches and that reach it back: its circle.
    for (n in node) {
      delete seen; seen[n] = 1; queue[0] = n; head = 0; tail = 1
      while (head < tail) {
        m = queue[head++]; k = split(out[m], next_)
        for (i = 1; i <= k; ++i) if (!(next_[i] in seen)) { seen[next_[i]] = 1; queue[tail++] = next_[i] }
      }
      for (m in seen) reach[n, m] = 1
    }
    worst = 0
    for (n in node) {
      members = ""; size = 0
      for (m in node) if (reach[n, m] && reach[m, n]) { members = members " " m; ++size }
      if (size > worst) { worst = size; largest = members }
    }
    if (worst > 2) { print "files in one include circle (" worst "):" largest; exit 1 }
    print "largest include circle: " worst " files"
  }'
