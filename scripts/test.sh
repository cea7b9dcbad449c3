#!/usr/bin/env bash
# Installs, builds and runs every test: unit and widget tests, then the end-to-end tests, which
# start their own X servers and real browsers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh test
cd build
ctest --output-on-failure --timeout 600
