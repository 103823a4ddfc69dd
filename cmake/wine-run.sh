#!/bin/sh
# ctest's cross-compiling emulator: runs one Windows program under Wine.
#   wine-run.sh win32|win64 PROGRAM.exe [ARGS...]
# Uses the caller's DISPLAY (tests/run-all.sh shares one Xvfb with the whole run), or starts
# a private 24-bit Xvfb for this one program. Exits 77 (ctest: skipped) when this machine
# cannot run Wine for that architecture.
FOLVANE_WINE_ARCH=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
if ! wine_prepare_prefix; then
    echo "wine-run: Wine cannot run $FOLVANE_WINE_ARCH programs on this machine; skipped" >&2
    exit 77
fi
if [ -n "$DISPLAY" ]; then
    exec "$WINELOADER_BIN" "$@"
fi
# 24 bits: at 16 bits colours are quantised and exact pixel checks fail.
exec 3>&1
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 4 -screen 0 1280x1024x24 -nolisten tcp 4>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r display_number <"$fifo"
rm -f "$fifo"
DISPLAY=":$display_number" "$WINELOADER_BIN" "$@"
status=$?
# Another test program may share the prefix: wait a while, never end its processes.
DISPLAY=":$display_number" timeout 60 "$WINESERVER" -w
kill "$xvfb_pid" 2>/dev/null
wait "$xvfb_pid" 2>/dev/null
exit $status
