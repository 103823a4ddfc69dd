#!/bin/sh
# Installs what a fresh Debian 12 machine lacks to build Folvane and run all of its tests.
# Idempotent: on a prepared machine it only checks and returns.
set -e

packages="cmake make g++ libgtest-dev googletest
g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64
wine wine64 wine32:i386 fonts-wine
xvfb xauth xdotool imagemagick
locales fonts-wqy-microhei fp-utils libchm-bin
libchm-dev libmspack-dev p7zip-full"

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    echo "setup: installing$missing"
    if [ "$(id -u)" != 0 ]; then SUDO=sudo; else SUDO=; fi
    # wine32 (32-bit Wine) comes from the i386 architecture.
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
    fi
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
fi

# Without a generated zh_CN.UTF-8 locale Wine still reports code page 936 but mangles
# non-ASCII file names.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
    echo "setup: generating the zh_CN.UTF-8 locale"
    if [ "$(id -u)" != 0 ]; then SUDO=sudo; else SUDO=; fi
    $SUDO localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
