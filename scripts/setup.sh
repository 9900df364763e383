#!/usr/bin/env bash
# Installs what Tessaline needs to build, run and test on Debian 12, then configures and builds it.
# Usage: scripts/setup.sh [build-dir]   (default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$here/build"}

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-qpa-plugins             # the window (Qt 6 Widgets) and its offscreen platform
    nlohmann-json3-dev                       # the in-memory Office's content files
    libfreexl-dev                            # reading .xls workbooks
    libgtest-dev libgmock-dev                # unit and behaviour tests
    libbenchmark-dev                         # benchmarks
    fonts-wqy-microhei fonts-liberation      # Chinese captions; "Times New Roman" for the code pane
    python3 python3-xlwt                     # interoperability tests: workbooks written by another program
    libreoffice-calc-nogui                   # interoperability tests: our workbooks read by another program
    libreoffice-impress-nogui                # converts the how-to-use presentation to Tessaline.ppt
    imagemagick                              # turning window captures into PNG checks in the docs
    g++-mingw-w64-x86-64-posix googletest    # the Windows build (scripts/test-windows.sh) and its tests
    wine wine64 wine64-tools libwine-dev     # running the Windows tests; widl for the type library
    fonts-wine xvfb xauth                    # fonts inside the wine prefix; a display for its windows
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"
