#!/bin/sh
# The Windows folvane-cli.exe under Wine over the sources that books have been seen to go wrong
# on, given as a relative folder: once with a stand-in hhc.exe beside the program (found by the
# program's own lookup; its books are stand-ins, so only their pages are checked), once with
# Folvane's own compiler (its books are checked with chmlib and 7-Zip like the native ones).
#   books_wine.sh ARCH FOLVANE_CLI_EXE STAND_IN_COMPILER_EXE SAMPLES_DIR
set -u
arch=$1
cli=$2
stand_in=$3
samples=$4
here=$(cd "$(dirname "$0")" && pwd)
wine_run="$here/../../cmake/wine-run.sh"
. "$here/book_checks.sh"
require_readers books_wine
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/program"
cp "$cli" "$work/program/folvane-cli.exe"
cp "$stand_in" "$work/program/hhc.exe"
for compiler in hhc builtin; do
    folder="$compiler books"
    make_test_folder "$work/$folder" "$samples" "$work/$compiler.codecs"
    echo "== $arch, $compiler"
    set -- "$folder\\"
    [ "$compiler" = builtin ] && set -- --compiler builtin "$folder"
    (cd "$work" && sh "$wine_run" "$arch" program/folvane-cli.exe "$@") >"$work/out" 2>"$work/err"
    run_status=$?
    [ $run_status = 77 ] && exit 77
    cat "$work/out" "$work/err"
    if [ $run_status != 0 ] || grep -q '_失败' "$work/out"; then
        echo "FAIL: folvane-cli.exe with $compiler exited $run_status"
        status=1
    fi
    check=""
    [ "$compiler" = hhc ] && check=--pages-only
    check_books "$work/$folder" "$work/$compiler.codecs" $check
done
[ $status = 0 ] && echo "every book passed"
exit $status
