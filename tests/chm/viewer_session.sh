# Sourced by the scripts that take pictures of books in the Unix CHM viewers: the tools they need,
# a scratch folder, a display of its own, starting and ending a viewer, clicks and pictures.
# In:  out (where the pictures go), name (for messages), tools (what the script needs besides the
#      viewers and the X tools). Exits 77 (skipped) when one of them is missing.
# Out: work (a scratch folder, removed at the end), failed (1 once a picture looked empty),
#      window (the viewer's window), viewer_pid.

for tool in kchmviewer xchm Xvfb xdotool import convert $tools; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$name: $tool is missing; skipped"; exit 77; }
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
    [ -n "$window" ] || { echo "$name: $2 showed no window"; cat "$work/viewer.log"; exit 1; }
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
        echo "$name: $1.png has only $colours colours"
        failed=1
    fi
    echo "$out/$1.png"
}

