#!/usr/bin/env bash
# Runs a Windows program of the cross build under wine: the build's CMAKE_CROSSCOMPILING_EMULATOR.
#   scripts/wine-run.sh PREFIX PROGRAM.exe [ARGS...]
# Makes the prefix first when it is missing, and ends the program after TESSALINE_WINE_TIMEOUT seconds
# (default 600) so a hung program fails rather than stalls the build or the tests.
set -euo pipefail
if [ $# -lt 2 ]; then
    echo "usage: $0 PREFIX PROGRAM.exe [ARGS...]" >&2
    exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
prefix=$1
shift
[ -f "$prefix/.tessaline-ready" ] || "$here/wine-prefix.sh" init "$prefix"
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=C.UTF-8 LC_ALL=C.UTF-8
# exec, so a test driver that ends this script ends timeout, which passes the signal on to the program.
exec timeout -k 10 "${TESSALINE_WINE_TIMEOUT:-600}" wine "$@"
