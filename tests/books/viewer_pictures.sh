#!/bin/sh
# Pictures of Folvane's books in the Unix CHM viewers, for reviewers: a novel with volumes and
# chapters made by folvane-cli with each compiler, shown in kchmviewer and xchm (the contents
# with its chapters, a chapter's page, the index).
#   viewer_pictures.sh FOLVANE_CLI OUTPUT_FOLDER
# Exits 77 (skipped) when a viewer or the X tools are missing.
set -u
cli=$1
out=$2
here=$(cd "$(dirname "$0")" && pwd)
name=viewer_pictures
tools=python3
. "$here/../chm/viewer_session.sh"

compilers="builtin"
command -v chmcmd >/dev/null 2>&1 && compilers="builtin chmcmd"
for compiler in $compilers; do
    mkdir -p "$work/$compiler"
    python3 "$here/make_novel.py" "$work/$compiler/月下集.txt"
    "$cli" --compiler "$compiler" "$work/$compiler" >/dev/null 2>&1 || { echo "viewer_pictures: no book with $compiler"; exit 1; }
    book="$work/$compiler/月下集/月下集.chm"

    start_viewer kchmviewer kchmviewer "$book"
    shot "book-$compiler-kchmviewer-contents"
    click 130 204
    shot "book-$compiler-kchmviewer-chapter"
    click 116 133
    shot "book-$compiler-kchmviewer-index"
    stop_viewer

    start_viewer xchm xchm "$book"
    click 80 140 2
    shot "book-$compiler-xchm-contents"
    click 110 200
    shot "book-$compiler-xchm-chapter"
    click 120 107
    shot "book-$compiler-xchm-index"
    stop_viewer
done
exit $failed
