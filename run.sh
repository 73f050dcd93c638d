#!/usr/bin/env bash
# Installs what is missing, builds, and starts SetZaiko in examples/, where the workbook
# chooser opens on the sample workbook.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSETZAIKO_TESTS=OFF \
      -DSETZAIKO_BENCH=OFF >/dev/null
cmake --build build --parallel "$(nproc)" --target setzaiko
cd examples
exec ../build/src/setzaiko
