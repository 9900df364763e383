#!/usr/bin/env bash
# Builds Tessaline (installing what is missing) and runs every test: unit tests, behaviour tests, scenario
# scripts and the offscreen Qt tests.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build"
"$here/scripts/setup.sh" "$build"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j"$(nproc)"
