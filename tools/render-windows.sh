#!/usr/bin/env bash
# Renders every window offscreen to PNG files (default: docs/images), walking the typical
# road with the sample workbook. Look at the pictures after changing a window.
set -euo pipefail
cd "$(dirname "$0")/.."
output=${1:-docs/images}
scripts/install-deps.sh build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target setzaiko-render
QT_QPA_PLATFORM=offscreen build/tools/setzaiko-render "$output" examples
