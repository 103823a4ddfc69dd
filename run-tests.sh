#!/bin/bash
# Builds Folvane natively and for Windows (32 and 64 bit) and runs every test:
# the native tests directly, the Windows tests under Wine on one shared virtual display.
# Exits non-zero when any test fails. Usage: ./run-tests.sh [ctest arguments...]
set -u
root=$(cd "$(dirname "$0")" && pwd)
build=${FOLVANE_BUILD_DIR:-$root/build}
jobs=${FOLVANE_JOBS:-2}

sh "$root/cmake/setup-machine.sh" || exit 1

configure_and_build() {  # name [toolchain]
    local dir=$build/$1
    local args=(-S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release)
    [ -n "${2:-}" ] && args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/$2")
    echo "== build $1"
    cmake "${args[@]}" >"$build/$1.configure.log" 2>&1 || { cat "$build/$1.configure.log"; return 1; }
    cmake --build "$dir" -j"$jobs" >"$build/$1.build.log" 2>&1 || { tail -60 "$build/$1.build.log"; return 1; }
}

mkdir -p "$build"
configure_and_build linux || exit 1
configure_and_build win64 toolchain-x86_64-w64-mingw32.cmake || exit 1
configure_and_build win32 toolchain-i686-w64-mingw32.cmake || exit 1

# One Xvfb for the whole run: about twice as fast as one per test program.
# 24 bits, or exact pixel checks fail on quantised colours.
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r display_number <"$fifo"
rm -f "$fifo"
export DISPLAY=":$display_number"

# Lets the prefix's wineserver end before its display goes away (a stale one slows later runs);
# a program that a failed test left behind is ended after a grace period.
stop_wine() {  # arch
    (
        FOLVANE_WINE_ARCH=$1
        . "$root/cmake/wine-env.sh"
        [ "$wine_can_run" = 1 ] || exit 0
        timeout 60 "$WINESERVER" -w || "$WINESERVER" -k
    ) 2>/dev/null
}
cleanup() {
    stop_wine win64
    stop_wine win32
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

total_passed=0
total_failed=0
total_skipped=0
failed_suites=""

run_suite() {  # name
    local dir=$build/$1 log=$build/$1.ctest.log
    echo "== tests $1"
    (cd "$dir" && ctest -j"$jobs" --output-on-failure "${@:2}") 2>&1 | tee "$log"
    local summary out_of failed skipped
    summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
    if [ -z "$summary" ]; then
        failed_suites="$failed_suites $1(no-summary)"
        total_failed=$((total_failed + 1))
        return
    fi
    out_of=$(echo "$summary" | sed -E 's/.*out of ([0-9]+).*/\1/')
    failed=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests? failed.*/\1/')
    skipped=$(grep -c '(Skipped)' "$log" || true)
    total_passed=$((total_passed + out_of - failed - skipped))
    total_failed=$((total_failed + failed))
    total_skipped=$((total_skipped + skipped))
    [ "$failed" != 0 ] && failed_suites="$failed_suites $1"
}

run_suite linux "$@"

for arch in win64 win32; do
    (
        FOLVANE_WINE_ARCH=$arch
        . "$root/cmake/wine-env.sh"
        [ "$wine_can_run" = 1 ] || exit 3
        wine_prepare_prefix
        # Start Wine's background processes once, detached, or ctest waits for their output
        # handles after every test.
        "$WINELOADER_BIN" wineboot </dev/null >/dev/null 2>&1
    )
    case $? in
        0) run_suite "$arch" "$@" ;;
        3) echo "== tests $arch: not run: this machine cannot start $arch Wine programs" \
                "(the kernel refuses 32-bit Linux executables); the $arch build was compiled and linked" ;;
        *) failed_suites="$failed_suites $arch(wine-prefix)"; total_failed=$((total_failed + 1)) ;;
    esac
done

echo
echo "== summary: native, win64 and win32 suites"
[ -n "$failed_suites" ] && echo "failed suites:$failed_suites"
echo "$total_passed passed, $total_failed failed, $total_skipped skipped"
[ "$total_failed" = 0 ]
