#!/usr/bin/env bash
# Renders the program's icon from its SVG at the sizes desktops look up. The PNGs are
# committed, so only a change of the SVG needs this (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "hicolor/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" setzaiko.svg -o "hicolor/${size}x${size}/apps/setzaiko.png"
done
