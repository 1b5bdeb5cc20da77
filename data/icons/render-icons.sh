#!/bin/sh
# Redraws the PNG icons from the scalable one after it changes (needs rsvg-convert, librsvg2-bin).
# The PNGs are committed, so building and installing never need this.
set -eu
cd "$(dirname "$0")/hicolor"
svg=scalable/apps/org.loomwise.loomwise.svg
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" "$svg" -o "${size}x${size}/apps/org.loomwise.loomwise.png"
done
