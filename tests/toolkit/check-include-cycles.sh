#!/usr/bin/env bash
# Fails when the files of the given folders include each other in a circle of more than LARGEST
# class files (a header and its source count as one; 2 unless given): pieces in such a circle can
# be neither read, tested nor changed alone. With 2, two files that know each other are allowed.
# Usage: check-include-cycles.sh [--largest N] SOURCE_DIR FOLDER...
set -euo pipefail
allowed=2
if [ "$1" = --largest ]; then allowed=$2; shift 2; fi
cd "$1"
shift
for folder in "$@"; do
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [ -e "$file" ] || continue
    sed -n 's/^#include "\(.*\)\.h".*/\1/p' "$file" | while read -r included; do
      if [ -e "$included.h" ]; then echo "${file%.*} $included"; fi
    done
  done
done | awk -v allowed="$allowed" '
  $1 != $2 { after[$1] = after[$1] " " $2; file[$1] = file[$2] = 1 }
  END {
    # What each file reaches through its includes; two files that reach each other share a circle.
    for (f in file) {
      delete seen; seen[f] = 1; queue[0] = f; head = 0; tail = 1
      while (head < tail) {
        n = split(after[queue[head++]], next_)
        for (i = 1; i <= n; ++i) if (!(next_[i] in seen)) { seen[next_[i]] = 1; queue[tail++] = next_[i] }
      }
      for (g in seen) reaches[f, g] = 1
    }
    largest = 0
    for (f in file) {
      members = ""; size = 0
      for (g in file) if (reaches[f, g] && reaches[g, f]) { members = members " " g; ++size }
      if (size > largest) { largest = size; circle = members }
    }
    if (largest > allowed) { print "files in one include circle (" largest "):" circle; exit 1 }
    print "largest include circle: " largest " files"
  }'
