#!/usr/bin/env bash
# Builds Tessaline (installing what is missing) and runs every test: unit tests, behaviour tests, scenario
# scripts and the offscreen Qt tests; then the Windows build's tests under wine (scripts/test-windows.sh),
# unless TESSALINE_SKIP_WINDOWS=1.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build"
"$here/scripts/setup.sh" "$build"
(
    export QT_QPA_PLATFORM=offscreen
    cd "$build"
    ctest --output-on-failure -j"$(nproc)"
)
if [ "${TESSALINE_SKIP_WINDOWS:-0}" = 1 ]; then
    echo "Skipping the Windows build and its tests (TESSALINE_SKIP_WINDOWS=1)."
else
    "$here/scripts/test-windows.sh"
fi
