#!/usr/bin/env bash
# Renders the application icon's PNG sizes from its SVG source (needs librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 48 128 256; do rsvg-convert -w "$size" -h "$size" pagewick.svg -o "pagewick-$size.png"; done
