#!/usr/bin/env bash
# Builds the .deb with CPack, unpacks it into a throwaway root and starts the program from there.
# Usage: packaging/test-deb.sh BUILD_DIR CPACK [HOWTO]   (HOWTO: OFF when the build makes no Tessaline.ppt)
#
# The package is unpacked with dpkg-deb -x rather than installed with dpkg -i: a real install would change
# the machine running the tests (and clash with an installed copy or a parallel run). What dpkg -i would add
# is checked instead: that the package has no maintainer scripts to run, and that every dependency is
# satisfied here.
set -euo pipefail
build=$1
cpack=$2
howto=${3:-ON}
work=$(mktemp -d "${TMPDIR:-/tmp}/tessaline-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

timeout 200 "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack could not make the package"; }
debs=("$work"/out/*.deb)
[ -f "${debs[0]}" ] || fail "cpack made no .deb"
deb=${debs[0]}
echo "package: $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB)"

# What dpkg -i would run and need.
control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed 's|^\./||' | grep -v '^$' | sort | tr '\n' ' ')
[ "$control" = "control md5sums " ] || fail "unexpected control files: $control"
[ "$(dpkg-deb -f "$deb" Package)" = tessaline ] || fail "package name"
depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
grep -q 'libqt6widgets6' <<<"$depends" || fail "Qt 6 Widgets is not among the dependencies"
IFS=',' read -ra deps <<<"$depends"
for dep in "${deps[@]}"; do
    satisfied=no
    IFS='|' read -ra alternatives <<<"$dep"
    for alternative in "${alternatives[@]}"; do
        name=$(sed -E 's/^ *([^ (]+).*/\1/' <<<"$alternative")
        if dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'install ok installed'; then satisfied=yes; fi
    done
    [ $satisfied = yes ] || fail "dependency not installed here: $dep"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
lib=$root/usr/lib/tessaline
shipped=(tessaline tessaline-scenario Tessaline.xls Menubar.xls TreeviewofCommandbars.xls office/excel.json)
[ "$howto" = OFF ] || shipped+=(Tessaline.ppt)
for file in "${shipped[@]}"; do
    [ -s "$lib/$file" ] || fail "the package lacks /usr/lib/tessaline/$file"
done
[ "$(readlink -f "$root/usr/bin/tessaline")" = "$lib/tessaline" ] || fail "/usr/bin/tessaline does not lead to the program"
[ -f "$root/usr/share/applications/tessaline.desktop" ] || fail "no desktop entry"
[ -f "$root/usr/share/icons/hicolor/scalable/apps/tessaline.svg" ] || fail "no icon"
grep -q '^Exec=tessaline$' "$root/usr/share/applications/tessaline.desktop" || fail "desktop entry's Exec"

# Started through /usr/bin, as a user would, with nothing pointing it at the source tree's content: it must
# find the Office content, the workbooks and the presentation in its own folder.
export QT_QPA_PLATFORM=offscreen
unset TESSALINE_OFFICE_CONTENT
cat >"$work/installed.scn" <<'SCN'
option Excel
expect bar Excel Standard exists = True
menu menuDesignerxls
expect workbooks has Tessaline.xls
menu menuHowtouse
print shell
SCN
timeout 60 "$root/usr/bin/tessaline" --scenario "$work/installed.scn" >"$work/transcript.txt" 2>&1 ||
    { cat "$work/transcript.txt" >&2; fail "the scenario failed in the installed program"; }
grep -qF "starts from $lib/office" "$work/transcript.txt" ||
    { cat "$work/transcript.txt" >&2; fail "the installed program did not start from its own content"; }
grep -qxF "    $lib/Tessaline.ppt" "$work/transcript.txt" ||
    { cat "$work/transcript.txt" >&2; fail "如何使用 does not open the presentation beside the program"; }
timeout 60 "$root/usr/bin/tessaline" --screenshot "$work/window.png" >"$work/screenshot.log" 2>&1 ||
    { cat "$work/screenshot.log" >&2; fail "the installed program did not start"; }
[ -s "$work/window.png" ] || fail "no picture of the installed program's window"
echo "installed program started from $lib"
