#!/bin/sh
# Pictures of the sample books in the Unix CHM viewers, for reviewers to check that Chinese
# titles show right in the contents, the index and the pages:
#   viewer_screenshots.sh SAMPLE_BOOKS_PROGRAM OUTPUT_FOLDER
# Writes kchmviewer-*.png and xchm-*.png. Exits 77 (skipped) when a viewer or the X tools are
# missing. xchm opens only pages with ASCII names, so it is shown the ASCII-named copy.
set -u
sample_books=$1
out=$2
name=viewer_screenshots
tools=
. "$(dirname "$0")/viewer_session.sh"

"$sample_books" "$work" >"$work/books.txt" || { echo "viewer_screenshots: cannot make the sample books"; exit 1; }
chinese=$(sed -n 1p "$work/books.txt")
ascii=$(sed -n 2p "$work/books.txt")
korean=$(sed -n 3p "$work/books.txt")

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
