#!/bin/sh
# Starts the real folvane.exe under Wine, drives it with X input like a user and saves the
# screenshots that the README shows. FAKE_COMPILER stands in for hhc.exe beside the program.
#   end_to_end.sh win32|win64 FOLVANE_EXE FAKE_COMPILER SCREENSHOT_FOLDER
# Exits 77 (skipped) when Wine cannot run that architecture here.
FOLVANE_WINE_ARCH=$1
exe=$2
fake_compiler=$3
shots=$4
repo=$(cd "$(dirname "$0")/../.." && pwd)
. "$repo/cmake/wine-env.sh"
if ! wine_prepare_prefix; then
    echo "end_to_end: Wine cannot run $FOLVANE_WINE_ARCH programs on this machine; skipped" >&2
    exit 77
fi
for tool in xdotool import convert; do
    command -v "$tool" >/dev/null 2>&1 || { echo "end_to_end: $tool is missing; skipped" >&2; exit 77; }
done

# The folder chooser is driven by keyboard through the tree "/" > "tmp" > this folder.
samples=/tmp/folvane-e2e-$$
x_session_name=end_to_end
x_session_folder=$samples
. "$repo/tests/ui/x_session.sh"
x_session_start
mkdir -p "$shots"

# The program with the stand-in compiler in its folder, where it looks for hhc.exe first.
mkdir -p "$work/program" "$samples"
cp "$exe" "$work/program/folvane.exe"
cp "$fake_compiler" "$work/program/hhc.exe"
printf 'Folvane turns every text file of a folder into a help book.\r\n%.0s' $(seq 1 300) >"$samples/readme.txt"
printf '<html><head><title>Notes</title></head><body><p>notes</p></body></html>\r\n' >"$samples/notes.htm"
printf '\264\272\275\255\263\261\313\256\301\254\272\243\306\275\r\n%.0s' $(seq 1 2000) >"$samples/$(printf '\345\224\220\350\257\227.txt')"
printf 'not a source\r\n' >"$samples/picture.png"
# Enough for a run of some seconds and a list longer than its box: four GBK novels of 8 MB
# and 33 short stories, 40 sources in all.
printf '\264\272\275\255\263\261\313\256\301\254\272\243\306\275%.0s' 1 2 3 4 >"$work/line"
printf '\r\n' >>"$work/line"
for i in $(seq 1 17); do
    cat "$work/line" "$work/line" >"$work/lines"
    mv "$work/lines" "$work/line"
done
for i in 1 2 3 4; do
    cp "$work/line" "$samples/novel$i.txt"
done
for i in $(seq 10 42); do
    printf 'Story %s, a short one.\r\n' "$i" >"$samples/story$i.txt"
done
last_source=$(printf '\345\224\220\350\257\227')  # the last of the run in name order

"$WINELOADER_BIN" "$work/program/folvane.exe" >/dev/null 2>&1 &
app_pid=$!

main=$(find_window '^Folvane$' 20) || fail "the main window did not appear"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$main")"
echo "main window: ${WIDTH}x${HEIGHT}"
screenshot "$main" "$shots/main-window-start.png" || fail "no screenshot of the main window"

# The help picture lies at (488, 24), 42 x 17 pixels, in the 535 x 316 client area.
click_client "$main" 509 32 535 316
help=$(find_window '^帮助$' 10) || fail "a click on the help picture opened no help window"
sleep 0.5
screenshot "$help" "$shots/help-window.png" || fail "no screenshot of the help window"
# Without a window manager both windows start at the same place: put the help window beside
# the main window so that the clicks below reach the main window.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool windowmove "$help" $((X + WIDTH + 20)) "$Y"
sleep 0.3
click_client "$main" 509 32 535 316
sleep 0.5
[ "$(window_count '^帮助$')" -eq 1 ] || fail "a second click opened a second help window"

# Command1 opens the shell's folder chooser; Escape cancels it.
chooser=$(open_chooser "$main") || exit 1
screenshot "$chooser" "$shots/folder-chooser.png"
xdotool key Escape
tries=50
while [ "$(window_count "$chooser_title")" -gt 0 ] && [ "$tries" -gt 0 ]; do
    sleep 0.1
    tries=$((tries - 1))
done
[ "$tries" -gt 0 ] || fail "the folder chooser did not close on Escape"
kill -0 "$app_pid" 2>/dev/null || fail "the program ended after the chooser was cancelled"

# Choose the sample folder.
chooser=$(open_chooser "$main") || exit 1
choose_tmp_folder "$chooser" "$(basename "$samples")" "$shots/folder-chooser-choice.png"

# Convert & Generate over the 40 sources. The stand-in compiler writes each book; the compiles
# queue behind the run, at most one per processor.
click_command2 "$main"
started=$(now)
# During the run the status label names the file being converted and how far the run is:
# the picture is taken while the first novel is converted.
wait_for_file "$samples/novel1" 30 || fail "the run did not begin (was the sample folder chosen?)"
sleep 0.05
screenshot "$main" "$shots/main-window-running.png" || fail "no screenshot during the run"
[ -f "$samples/$last_source/chm_hhp.hhp" ] && echo "end_to_end: the run ended before its picture was taken" >&2
wait_for_file "$samples/$last_source/chm_hhp.hhp" 30 ||
    fail "the run did not make the last book's project (was the sample folder chosen?)"
echo "run: $(seconds_since "$started") s until the last project file"
[ -f "$samples/readme/chm_hhp.hhp" ] || fail "no project file"
[ -d "$samples/picture" ] && fail "a file of another type was converted"
# At the end of the run the last result line is in view.
sleep 0.5
click_client "$main" 300 306 535 316
sleep 0.3
screenshot "$main" "$shots/main-window.png" || fail "no screenshot of the main window after the run"

# Closing the main window ends the program, although the help window is still open and
# compiles still wait: the windows go at once, the process once every book is compiled.
books_at_close=$(find "$samples" -name '*.chm' | wc -l)
click_client "$main" 300 300 535 316
xdotool key alt+F4
tries=30
while [ "$(window_count '^(Folvane|帮助)$')" -gt 0 ] && [ "$tries" -gt 0 ]; do
    sleep 0.1
    tries=$((tries - 1))
done
[ "$tries" -gt 0 ] || fail "the windows stayed on the screen after the main window was closed"
tries=1200
while kill -0 "$app_pid" 2>/dev/null && [ "$tries" -gt 0 ]; do
    sleep 0.1
    tries=$((tries - 1))
done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end when its main window was closed"
wait "$app_pid"
status=$?
app_pid=
[ "$status" -eq 0 ] || fail "the program ended with status $status"
folders=0
for folder in "$samples"/*/; do
    folders=$((folders + 1))
    ls "$folder"*.chm >/dev/null 2>&1 ||
        fail "the program ended leaving $folder without its book; it holds: $(ls "$folder" | tr '\n' ' ')"
done
[ "$folders" -eq 40 ] || fail "$folders book folders, not 40"
echo "closed with $books_at_close of 40 books compiled; all 40 were there when the program had ended"
echo "screenshots: $shots/main-window.png $shots/main-window-running.png $shots/help-window.png $shots/main-window-start.png"
exit 0
