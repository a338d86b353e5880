#!/usr/bin/env bash
# Renders an SVG into a multi-size Windows icon: make-icon.sh input.svg output.ico
set -euo pipefail
input=$1
output=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 16 24 32 48 64 256; do
  rsvg-convert -w "$size" -h "$size" "$input" -o "$work/$size.png"
done
mkdir -p "$(dirname "$output")"
convert "$work"/16.png "$work"/24.png "$work"/32.png "$work"/48.png "$work"/64.png \
  "$work"/256.png "$output"
