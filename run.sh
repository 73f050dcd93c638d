#!/usr/bin/env bash
# Installs what is missing, builds, and runs SetZaiko.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DSETZAIKO_TESTS=OFF -DSETZAIKO_BENCH=OFF >/dev/null
cmake --build build --parallel
cd examples
exec ../build/src/setzaiko-cli import sample.xls
