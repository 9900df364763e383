#!/usr/bin/env bash
# Builds Tessaline (installing what is missing) and opens its window on the embedded in-memory Office.
# Without a display it runs a short demo scenario instead, prints its transcript, and saves a PNG of the
# window.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build"
"$here/scripts/setup.sh" "$build"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$build/src/app/tessaline" "$@"
fi
echo "No display: running the demo scenario headless."
"$build/src/app/tessaline-scenario" "$here/tests/scenarios/demo.scn"
shot="$build/tessaline-window.png"
QT_QPA_PLATFORM=offscreen "$build/src/app/tessaline" --screenshot "$shot" --scenario "$here/tests/scenarios/demo.scn" >/dev/null
echo "Saved a picture of the window after the demo: $shot"
