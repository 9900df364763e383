#!/usr/bin/env bash
# Makes or stops the wine prefix the Windows build runs its programs and tests in.
#   scripts/wine-prefix.sh init PREFIX   make PREFIX once (wineboot, fonts); later calls return at once
#   scripts/wine-prefix.sh stop PREFIX   end the prefix's wineserver and every program still running in it
# Every step is bounded: a wine that hangs fails the step instead of the whole run.
set -euo pipefail
mode=${1:-}
prefix=${2:-}
if [ -z "$mode" ] || [ -z "$prefix" ]; then
    echo "usage: $0 init|stop PREFIX" >&2
    exit 2
fi
case "$prefix" in /*) ;; *) prefix="$PWD/$prefix" ;; esac

export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine rewrites its font links whenever the locale changes between runs in one prefix: keep one.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
ready="$prefix/.tessaline-ready"

case "$mode" in
stop)
    timeout -k 5 30 wineserver -k 2>/dev/null || true
    exit 0
    ;;
init) ;;
*)
    echo "unknown mode $mode" >&2
    exit 2
    ;;
esac

# Settings of the prefix, applied when it is made and once more to a prefix made before they changed.
# - WenQuanYi Micro Hei behind Tahoma (and so behind "MS Shell Dlg", which wine maps to Tahoma). `reg add`
#   writes the REG_MULTI_SZ as UTF-16; a REGEDIT4 file's hex(7) bytes would be read as ANSI text, one letter
#   per string, and the link would name no font.
# - Windows not managed: there is no window manager on Xvfb, and wine waits two seconds for one to withdraw
#   each managed window that is hidden or destroyed (every message box, every test window).
settings="$prefix/.tessaline-settings-2"
apply_settings() {
    local face
    if [ -f "$prefix/drive_c/windows/Fonts/wqy-microhei.ttc" ]; then
        for face in "Tahoma" "Tahoma Bold"; do
            env -u DISPLAY timeout -k 5 60 wine reg add \
                'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
                /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1 || return 1
        done
    fi
    env -u DISPLAY timeout -k 5 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
        >/dev/null 2>&1 || return 1
    timeout -k 5 60 wineserver -w || true
    touch "$settings"
}

if [ -f "$ready" ]; then
    [ -f "$settings" ] && exit 0
    exec 9>"$prefix.lock"
    flock -w 180 9 || { echo "timed out waiting for the lock of the wine prefix $prefix" >&2; exit 1; }
    [ -f "$settings" ] || apply_settings || { echo "could not apply the settings of $prefix" >&2; exit 1; }
    exit 0
fi
mkdir -p "$(dirname "$prefix")"
# Programs started in parallel (the build's workbook generator, say) wait here for one of them to finish.
exec 9>"$prefix.lock"
if ! flock -w 180 9; then
    echo "timed out waiting for another process to make the wine prefix $prefix" >&2
    exit 1
fi
[ -f "$ready" ] && exit 0

# A prefix without the mark was left half made by an interrupted run: start it again.
if [ -d "$prefix" ]; then
    timeout -k 5 30 wineserver -k 2>/dev/null || true
    rm -rf -- "$prefix"
fi
echo "Making the wine prefix $prefix"
# No window is needed for the prefix itself; without a display wine makes it the same way everywhere.
if ! env -u DISPLAY timeout -k 10 180 wine wineboot -i >/dev/null 2>&1; then
    echo "wineboot -i failed or timed out in $prefix" >&2
    exit 1
fi
timeout -k 5 120 wineserver -w || { echo "the wineserver of $prefix did not finish" >&2; exit 1; }

# Debian's wine does not look at the fonts-wine files: copy them where Windows programs find fonts, with a
# Chinese font linked behind Tahoma so captions in Chinese are not boxes.
fonts="$prefix/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp /usr/share/wine/fonts/*.ttf "$fonts"/ 2>/dev/null || true
chinese=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
if [ -f "$chinese" ]; then
    cp "$chinese" "$fonts"/
fi
apply_settings || { echo "could not apply the settings of $prefix" >&2; exit 1; }
touch "$ready"
