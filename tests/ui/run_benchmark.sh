#!/bin/sh
# A benchmark, not a test: times a Convert & Generate run of the real folvane.exe against
# folvane-cli.exe over the same folder of GBK novels, both under Wine with the stand-in
# compiler, and prints the figures.
#   run_benchmark.sh win32|win64 BUILD_FOLDER [FILES [MEGABYTES [TURNS]]]
# Defaults: 5 novels of 5 MB, 3 turns. Each run is timed until the last book's project file
# is written: the window's from the click on Command2, folvane-cli's from its start (which
# includes starting a Wine process), and both from the first book folder, which leaves the
# start out. "With compiles" runs until every book is there, and for folvane-cli until it
# exits. Every turn removes the books of the turn before.
case "${1:-}" in
    win32 | win64) ;;
    *)
        sed -n '2,10s/^# \{0,1\}//p' "$0"
        exit 2
        ;;
esac
FOLVANE_WINE_ARCH=$1
build=$(cd "$2" && pwd)
files=${3:-5}
megabytes=${4:-5}
turns=${5:-3}
repo=$(cd "$(dirname "$0")/../.." && pwd)
. "$repo/cmake/wine-env.sh"
wine_prepare_prefix || { echo "run_benchmark: Wine cannot run $FOLVANE_WINE_ARCH programs here" >&2; exit 1; }

# The folder chooser is driven by keyboard through the tree "/" > "tmp" > this folder.
novels=/tmp/folvane-bench-$$
x_session_name=run_benchmark
x_session_folder=$novels
. "$repo/tests/ui/x_session.sh"
x_session_start

wait_for() { wait_for_file "$1" 600 || fail "$1 did not appear"; }
wait_for_books() {
    while [ "$(find "$novels" -name '*.chm' | wc -l)" -lt "$files" ]; do
        sleep 0.01
    done
}
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# The novels: chapters of Chinese prose in code page 936, doubled up to the size asked for.
mkdir -p "$novels" "$work/program"
chapter=$(printf '\265\332\322\273\325\302 \267\347\323\352\r\n')
line=$(printf '\241\241\241\241\264\272\275\255\263\261\313\256\301\254\272\243\306\275\243\254\272\243\311\317\303\367\324\302\271\262\263\261\311\372\241\243')
printf '%s%s%s%s\r\n' "$line" "$line" "$line" "$line" >"$work/novel"
while [ "$(wc -c <"$work/novel")" -lt $((megabytes * 1024 * 1024 / 2)) ]; do
    { printf '%s' "$chapter"; cat "$work/novel" "$work/novel"; } >"$work/double"
    mv "$work/double" "$work/novel"
done
head -c $((megabytes * 1024 * 1024)) "$work/novel" >"$work/sized"
for i in $(seq -w 1 "$files"); do
    cp "$work/sized" "$novels/novel$i.txt"
done
first=novel$(seq -w 1 "$files" | head -n 1)
last=novel$(seq -w 1 "$files" | tail -n 1)

cp "$build/ui/folvane.exe" "$work/program/folvane.exe"
cp "$build/tests/ui/ui_fake_compiler.exe" "$work/program/hhc.exe"
cli="$build/cli/folvane-cli.exe"
echo "$files GBK novels of $megabytes MB in $novels; $FOLVANE_WINE_ARCH; stand-in compiler"

"$WINELOADER_BIN" "$work/program/folvane.exe" >/dev/null 2>&1 &
app_pid=$!
main=$(find_window '^Folvane$' 20) || fail "the main window did not appear"
sleep 1
chooser=$(open_chooser "$main") || exit 1
choose_tmp_folder "$chooser" "$(basename "$novels")"

for turn in $(seq 1 "$turns"); do
    rm -rf "$novels"/*/
    start=$(now)
    "$WINELOADER_BIN" "$cli" --compiler "$(windows_path "$work/program/hhc.exe")" "$(windows_path "$novels")" \
        >/dev/null 2>&1 &
    cli_pid=$!
    wait_for "$novels/$first"
    first_folder=$(now)
    wait_for "$novels/$last/chm_hhp.hhp"
    cli_run=$(seconds_since "$start")
    cli_work=$(seconds_since "$first_folder")
    wait "$cli_pid"
    cli_total=$(seconds_since "$start")

    rm -rf "$novels"/*/
    start=$(now)
    click_command2 "$main"
    wait_for "$novels/$first"
    first_folder=$(now)
    wait_for "$novels/$last/chm_hhp.hhp"
    window_run=$(seconds_since "$start")
    window_work=$(seconds_since "$first_folder")
    wait_for_books
    window_total=$(seconds_since "$start")
    echo "turn $turn: window $window_run s (from the first folder $window_work s, with compiles $window_total s)," \
        "folvane-cli $cli_run s (from the first folder $cli_work s, to its exit $cli_total s)"
    echo "$window_run" >>"$work/window"
    echo "$cli_run" >>"$work/cli"
    echo "$window_work" >>"$work/window_work"
    echo "$cli_work" >>"$work/cli_work"
done
ratio() { awk "BEGIN { printf \"%.2f\", $1 / $2 }"; }
window=$(median <"$work/window")
cli_median=$(median <"$work/cli")
window_work=$(median <"$work/window_work")
cli_work=$(median <"$work/cli_work")
echo "median: window $window s, folvane-cli $cli_median s, window / cli $(ratio "$window" "$cli_median");" \
    "from the first folder: window $window_work s, folvane-cli $cli_work s, window / cli $(ratio "$window_work" "$cli_work")"
