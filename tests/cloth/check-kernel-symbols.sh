#!/bin/sh
# Fails when a vector kernel's object file defines any global symbol but its entry point, or calls
# anything but the C library: an inline function of a shared header compiled for a wider processor
# could otherwise be picked by the linker for the portable code.
# Usage: check-kernel-symbols.sh OBJECT ENTRY [OBJECT ENTRY ...]
set -u
libc=$(nm -D --defined-only /lib/x86_64-linux-gnu/libc.so.6 /lib/x86_64-linux-gnu/libm.so.6 |
  awk 'NF == 3 { sub(/@.*/, "", $3); print $3 }' | sort -u)
status=0
while [ $# -ge 2 ]; do
  object=$1 entry=$2
  shift 2
  defined=$(nm --defined-only --extern-only "$object" | awk '{ print $3 }')
  if [ "$defined" != "$entry" ]; then
    echo "$object defines more than $entry:"; echo "$defined"; status=1
  fi
  for symbol in $(nm --undefined-only "$object" | awk '{ print $2 }'); do
    if ! printf '%s\n' "$libc" | grep -qx "$symbol"; then
      echo "$object calls $symbol, which is not the C library's"; status=1
    fi
  done
done
exit $status
