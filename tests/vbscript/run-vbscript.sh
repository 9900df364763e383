#!/usr/bin/env bash
# Runs one VBScript test against the served Office: starts tessaline-office.exe on a content folder, runs the
# script with wine's cscript, and compares what the script wrote with the expected text.
#   tests/vbscript/run-vbscript.sh PREFIX SERVER.exe CONTENT SCRIPT.vbs EXPECTED RESULT
# Every wait is bounded; the server started here is ended here.
set -euo pipefail
if [ $# -ne 6 ]; then
    echo "usage: $0 PREFIX SERVER.exe CONTENT SCRIPT.vbs EXPECTED RESULT" >&2
    exit 2
fi
prefix=$1 server=$2 content=$3 script=$4 expected=$5 result=$6
here=$(cd "$(dirname "$0")" && pwd)
run="$here/../../scripts/wine-run.sh"
windows() { echo "Z:$1" | sed 's|/|\\|g'; }

mkdir -p "$(dirname "$result")"
rm -f "$result" "$result.out"
TESSALINE_WINE_TIMEOUT=90 "$run" "$prefix" "$server" --content "$(windows "$content")" >"$result.out" 2>&1 &
server_pid=$!
stop_server() {
    kill "$server_pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$server_pid" 2>/dev/null || return 0; sleep 0.1; done
    kill -9 "$server_pid" 2>/dev/null || true
}
trap stop_server EXIT

for _ in $(seq 300); do
    grep -q '^ready' "$result.out" 2>/dev/null && break
    if ! kill -0 "$server_pid" 2>/dev/null; then
        echo "the server stopped before it was ready:" >&2
        cat "$result.out" >&2
        exit 1
    fi
    sleep 0.1
done
grep -q '^ready' "$result.out" || { echo "the server was not ready within 30 s" >&2; exit 1; }

TESSALINE_WINE_TIMEOUT=60 "$run" "$prefix" cscript //nologo "$(windows "$script")" "$(windows "$result")"
if [ ! -f "$result" ]; then
    echo "the script wrote no result" >&2
    exit 1
fi
iconv -f UTF-16 -t UTF-8 "$result" | tr -d '\r' >"$result.txt"
diff -u "$expected" "$result.txt"
