#!/usr/bin/env bash
# Installs, builds and starts Pagewick.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh build
exec build/app/pagewick
