#!/bin/sh
# Runs that try to trick folvane-cli: two runs on one folder at once (each book must be made by
# exactly one of them, whole), and a reader that goes away after the first line (the run must
# finish every book and say so in its exit status).
#   hostile_runs.sh FOLVANE_CLI [COMPILER]
# Exits 77 (skipped) when a reader is missing.
set -u
cli=$1
compiler=${2:-builtin}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/book_checks.sh"
require_readers hostile_runs
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    status=1
}

make_sources() {  # folder count
    mkdir -p "$1"
    i=0
    while [ $i -lt "$2" ]; do
        python3 -c "import sys; sys.stdout.buffer.write(('第一章 书$i\r\n' + '春眠不觉晓，处处闻啼鸟。\r\n' * (200 + $i * 37)).encode('gbk'))" >"$1/book$i.txt"
        i=$((i + 1))
    done
}

echo "== two runs at once on one folder"
round=1
while [ $round -le 5 ]; do
    folder="$work/together$round"
    make_sources "$folder" 12
    "$cli" --compiler "$compiler" "$folder" >"$work/a.out" 2>/dev/null &
    first=$!
    "$cli" --compiler "$compiler" "$folder" >"$work/b.out" 2>/dev/null &
    second=$!
    wait $first
    wait $second
    i=0
    while [ $i -lt 12 ]; do
        in_a=$(grep -c "^book${i}_成功\$" "$work/a.out")
        in_b=$(grep -c "^book${i}_成功\$" "$work/b.out")
        if [ "$in_a" != 0 ] && [ "$in_b" = 0 ]; then
            other=$work/b.out
        elif [ "$in_a" = 0 ] && [ "$in_b" != 0 ]; then
            other=$work/a.out
        else
            fail "round $round: book$i was reported made by $([ "$in_a" != 0 ] && echo both || echo neither) run(s)"
            other=/dev/null
        fi
        grep -q "^book${i}_目录已存在！\$" "$other" || fail "round $round: the other run did not report book$i as existing"
        python3 "$here/check_book.py" "$folder/book$i/book$i.chm" "$folder/book$i" "$folder/book$i.txt" gbk || status=1
        i=$((i + 1))
    done
    leftovers=$(find "$folder" -name '.folvane-*' | wc -l)
    [ "$leftovers" = 0 ] || fail "round $round: $leftovers work folders or markers left"
    round=$((round + 1))
done

echo "== a reader that goes away"
folder="$work/piped"
make_sources "$folder" 6
( "$cli" --compiler "$compiler" "$folder" 2>"$work/piped.err"; echo $? >"$work/piped.status" ) | head -1 >/dev/null
[ "$(cat "$work/piped.status")" = 3 ] || fail "exit status $(cat "$work/piped.status") after the reader went away, not 3"
books=$(find "$folder" -name '*.chm' | wc -l)
[ "$books" = 6 ] || fail "only $books of 6 books were made after the reader went away"
grep -q "standard output was closed" "$work/piped.err" || fail "no word of the closed output on stderr"

[ $status = 0 ] && echo "every hostile run handled"
exit $status
