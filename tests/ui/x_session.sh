# Sourced by the scripts that drive the real folvane.exe with X input: the scratch folder and
# the cleanup at exit, the display, finding windows, clicks into the main window, screenshots
# and the folder chooser.
# In:  x_session_name (for messages), x_session_folder (a folder under /tmp that goes at exit),
#      WINESERVER (cmake/wine-env.sh).
# Out: work (a scratch folder), app_pid (set it to the program's process; ended at exit),
#      fail MESSAGE (reports and exits 1).

app_pid=
xvfb_pid=
work=$(mktemp -d)
x_session_cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    "$WINESERVER" -w 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work" "$x_session_folder"
}
trap x_session_cleanup EXIT
trap 'exit 1' HUP INT PIPE TERM
fail() {
    echo "$x_session_name: FAILED: $*" >&2
    exit 1
}

# Starts a private 24-bit Xvfb unless DISPLAY is set; sets xvfb_pid.
x_session_start() {
    [ -n "$DISPLAY" ] && return 0
    fifo="$work/display"
    mkfifo "$fifo"
    Xvfb -displayfd 4 -screen 0 1280x1024x24 -nolisten tcp 4>"$fifo" >/dev/null 2>&1 &
    xvfb_pid=$!
    read -r display_number <"$fifo"
    export DISPLAY=":$display_number"
}

# Waits up to $2 seconds for a visible window whose title matches $1; prints its id.
find_window() {
    tries=$(($2 * 10))
    while [ "$tries" -gt 0 ]; do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
        tries=$((tries - 1))
    done
    return 1
}

# Waits up to $2 seconds for the file or folder $1; false when it did not appear.
wait_for_file() {
    tries=$(($2 * 100))
    while [ ! -e "$1" ] && [ "$tries" -gt 0 ]; do
        sleep 0.01
        tries=$((tries - 1))
    done
    [ -e "$1" ]
}

now() { date +%s.%N; }
# Seconds since a time that `now` gave, to two places.
seconds_since() { awk "BEGIN { printf \"%.2f\", $(now) - $1 }"; }

window_count() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l
}

# Saves the window's picture: the root window cropped to the window's rectangle.
screenshot() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root "$work/root.png" || return 1
    convert "$work/root.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
}

# Clicks at a point of a window's client area; the client area sits inside the frame with
# equal borders left, right and below.
click_client() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    border=$(((WIDTH - $4) / 2))
    top=$((HEIGHT - $5 - border))
    xdotool mousemove --window "$1" $((border + $2)) $((top + $3)) click 1
}

# The main window's client area is 535 x 316; Command1 and Command2 are at these points.
click_command1() { click_client "$1" 132 36 535 316; }
click_command2() { click_client "$1" 376 36 535 316; }

chooser_title='^(选择文件夹|浏览文件夹|Browse for Folder)$'

# Opens the folder chooser with Command1 of main window $1; prints the chooser's id.
open_chooser() {
    click_command1 "$1"
    find_window "$chooser_title" 15 >/dev/null || fail "Command1 opened no folder chooser"
    # Wine may replace the dialog's X window while it sets it up: look again once it has
    # settled. The keys go to the chooser, which has the keyboard focus.
    sleep 1
    find_window "$chooser_title" 5 || fail "the folder chooser went away"
}

# Chooses /tmp/$2 in the chooser $1: from the OK button back to the tree, down to "/", open
# it, find "tmp" by typing, open it, find the folder by typing. $3, when given, is where a
# picture of the choice goes. Return confirms.
choose_tmp_folder() {
    for keys in shift+Tab Down Right; do
        xdotool key "$keys"
        sleep 0.4
    done
    sleep 0.6
    xdotool type tmp
    sleep 0.5
    xdotool key Right
    sleep 1
    xdotool type "$2"
    sleep 0.5
    [ -n "${3:-}" ] && screenshot "$1" "$3"
    xdotool key Return
    sleep 1
}
