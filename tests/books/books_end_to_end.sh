#!/bin/sh
# Books that every reader opens right: the shipped samples and the sources that books have been
# seen to go wrong on (Chinese names, a comma, a blank, a name outside code page 936, text
# outside GB2312, a UTF-8 page with a byte-order mark, a long page) go through the real
# folvane-cli with each compiler, and every book is checked by check_book.py with chmlib and
# 7-Zip. The folder is given relative to the current folder, as people type it.
#   books_end_to_end.sh FOLVANE_CLI SAMPLES_DIR
# Exits 77 (skipped) when a reader is missing.
set -u
cli=$1
samples=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/book_checks.sh"
require_readers books_end_to_end
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
compilers=${FOLVANE_BOOK_COMPILERS:-builtin chmcmd}
for compiler in $compilers; do
    [ "$compiler" = chmcmd ] && ! command -v chmcmd >/dev/null 2>&1 && continue
    folder="$work/$compiler books"
    make_test_folder "$folder" "$samples" "$work/$compiler.codecs"
    echo "== $compiler"
    # A relative folder with a trailing separator, and the compiler by its bare name.
    (cd "$work" && "$cli" --compiler "$compiler" "$compiler books/") >"$work/out" 2>"$work/err"
    run_status=$?
    cat "$work/out" "$work/err"
    if [ $run_status != 0 ] || grep -q '_失败' "$work/out"; then
        echo "FAIL: folvane-cli with $compiler exited $run_status"
        status=1
    fi
    check_books "$folder" "$work/$compiler.codecs"
    # A second run finds every book and changes nothing.
    before=$(cd "$folder" && find . -type f -exec md5sum {} + | sort)
    again=$("$cli" --compiler "$compiler" "$folder" 2>/dev/null)
    after=$(cd "$folder" && find . -type f -exec md5sum {} + | sort)
    if [ "$before" != "$after" ] || echo "$again" | grep -v '_目录已存在！' | grep -q '_'; then
        echo "FAIL: the second run with $compiler changed something or made a book again"
        status=1
    fi
done
[ $status = 0 ] && echo "every book passed"
exit $status
