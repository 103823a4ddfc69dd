#!/bin/sh
# Pictures of the sample books in the Unix CHM viewers, for reviewers to check that Chinese
# titles show right in the contents, the index and the pages:
#   viewer_screenshots.sh SAMPLE_BOOKS_PROGRAM OUTPUT_FOLDER
# Writes kchmviewer-*.png and xchm-*.png. Exits 77 (skipped) when a viewer or the X tools are
# missing. xchm opens only pages with ASCII names, so it is shown the ASCII-named copy.
set -u
sample_books=$1
out=$2
for tool in kchmviewer xchm Xvfb xdotool import convert; do
    command -v "$tool" >/dev/null 2>&1 || { echo "viewer_screenshots: $tool is missing; skipped"; exit 77; }
done
mkdir -p "$out"
work=$(mktemp -d)
xvfb_pid=
viewer_pid=
cleanup() {
    [ -n "$viewer_pid" ] && kill "$viewer_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

"$sample_books" "$work" >"$work/books.txt" || { echo "viewer_screenshots: cannot make the sample books"; exit 1; }
chinese=$(sed -n 1p "$work/books.txt")
ascii=$(sed -n 2p "$work/books.txt")
korean=$(sed -n 3p "$work/books.txt")

# A display of our own, so that nothing else is in the pictures.
fifo=$work/display
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r display_number <"$fifo"
export DISPLAY=":$display_number"
export LC_ALL=zh_CN.UTF-8
export XDG_RUNTIME_DIR=$work
# xchm on Debian 12 shows no page without this.
export wx_filesys_no_mimetypesmanager=1

failed=0
window=
start_viewer() {  # class program book
    "$2" "$3" >>"$work/viewer.log" 2>&1 &
    viewer_pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --class "$1" | head -1)
    [ -n "$window" ] || { echo "viewer_screenshots: $2 showed no window"; cat "$work/viewer.log"; exit 1; }
    xdotool windowmove "$window" 0 0 windowsize "$window" 1000 700
    sleep 3
}
stop_viewer() {
    kill "$viewer_pid" 2>/dev/null
    wait "$viewer_pid" 2>/dev/null
    viewer_pid=
}
click() {  # x y [repeat]
    xdotool mousemove --window "$window" "$1" "$2" click --repeat "${3:-1}" 1
    sleep 1.5
}
shot() {  # name
    import -window "$window" "$out/$1.png"
    # A picture of a few colours is an empty or unpainted window.
    colours=$(convert "$out/$1.png" -format %k info:)
    if [ "${colours:-0}" -lt 50 ]; then
        echo "viewer_screenshots: $1.png has only $colours colours"
        failed=1
    fi
    echo "$out/$1.png"
}

start_viewer kchmviewer kchmviewer "$chinese"
shot kchmviewer-contents
click 120 185
shot kchmviewer-page
click 116 133
shot kchmviewer-index
stop_viewer

start_viewer kchmviewer kchmviewer "$korean"
shot kchmviewer-korean
stop_viewer

start_viewer xchm xchm "$ascii"
shot xchm-contents
click 80 140 2
click 95 163
shot xchm-page
click 120 107
shot xchm-index
stop_viewer

exit $failed
