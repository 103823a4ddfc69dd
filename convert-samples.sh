#!/bin/bash
# The main job on a fresh machine: installs what is missing, builds folvane-cli and turns a
# copy of the shipped sample folder into .chm books with Folvane's own compiler.
set -eu
root=$(cd "$(dirname "$0")" && pwd)
build=${FOLVANE_BUILD_DIR:-$root/build}

sh "$root/cmake/setup-machine.sh"
cmake -S "$root" -B "$build/linux" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/linux" --target folvane-cli -j2 >/dev/null

# Work on a copy: the run creates one output folder per source file beside the sources.
books=$build/sample-books
rm -rf "$books"
mkdir -p "$books"
cp -p "$root"/samples/*.txt "$root"/samples/*.htm "$books"/ 2>/dev/null || true

echo "Converting $books"
status=0
"$build/linux/cli/folvane-cli" "$books" || status=$?

echo
echo "Books written:"
find "$books" -name '*.chm' -printf '  %p (%s bytes)\n' | sort
exit $status
