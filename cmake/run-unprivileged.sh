#!/bin/sh
# Runs a test program as an unprivileged user: as root, tests of what permissions forbid have
# nothing to test and skip themselves. The program and the helpers beside it are copied to a
# folder that user can reach, wherever the build lies. Skipped (77) when the caller is not root:
# the program's ordinary run already covers those tests then.
#   run-unprivileged.sh PROGRAM [ARGS...]
[ "$(id -u)" = 0 ] || { echo "run-unprivileged: not root; the ordinary run covers these tests"; exit 77; }
user=${FOLVANE_UNPRIVILEGED_USER:-nobody}
program=$1
shift
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
cp -p "$(dirname "$program")"/* "$copy"/ 2>/dev/null
chmod -R a+rX "$copy"
cd /tmp && runuser -u "$user" -- "$copy/$(basename "$program")" "$@"
