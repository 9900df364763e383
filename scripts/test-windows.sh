#!/usr/bin/env bash
# Cross-builds Tessaline for Windows (mingw-w64, preset "windows") and runs its tests under wine, inside one
# Xvfb so wine can make windows. Run by scripts/test.sh after the Linux suite; see docs/windows.md.
# Extra arguments go to ctest, e.g. `scripts/test-windows.sh -LE cross-process`.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build-windows"
cd "$here"
start=$(date +%s)
cmake --preset windows >/dev/null
cmake --build "$build" -j"$(nproc)"
built=$(date +%s)
# The whole run is bounded; every test also has its own timeout, and wine-run.sh ends a hung program.
cd "$build"
status=0
timeout -k 30 1800 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    ctest --output-on-failure -j"$(nproc)" "$@" || status=$?
end=$(date +%s)
echo "Windows: built in $((built - start)) s, tested under wine in $((end - built)) s"
exit "$status"
