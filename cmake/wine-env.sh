# Sourced by the Wine scripts: picks the Wine loader and prefix for one architecture
# (win32 or win64) and creates the prefix on first use.
# In:  FOLVANE_WINE_ARCH (win32|win64)
# Out: WINELOADER_BIN, WINEPREFIX, WINEARCH, WINEDEBUG, LC_ALL exported; wine_can_run=0|1
wine_arch=${FOLVANE_WINE_ARCH:-win64}
wine_home=${FOLVANE_WINE_HOME:-${XDG_CACHE_HOME:-$HOME/.cache}/folvane}
case "$wine_arch" in
    win64) WINELOADER_BIN=/usr/lib/wine/wine64 ;;
    win32) WINELOADER_BIN=/usr/lib/wine/wine ;;
    *) echo "wine-env: unknown architecture '$wine_arch'" >&2; return 2 ;;
esac
export WINEARCH=$wine_arch
export WINEPREFIX="$wine_home/wine-$wine_arch"
export WINEDEBUG=-all
# Code page 936 for GetACP()/GetOEMCP(); the locale must be generated or Wine mangles GBK file names.
export LC_ALL=zh_CN.UTF-8
export WINESERVER=/usr/lib/wine/wineserver

# Some kernels refuse 32-bit ELF programs (no IA-32 emulation), and then wine32 cannot start.
wine_can_run=0
if [ -x "$WINELOADER_BIN" ] && "$WINELOADER_BIN" --version >/dev/null 2>&1; then
    wine_can_run=1
fi

wine_prepare_prefix() {
    [ "$wine_can_run" = 1 ] || return 1
    mkdir -p "$wine_home"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.folvane-ready" ]; then
            rm -rf "$WINEPREFIX"
            "$WINELOADER_BIN" wineboot -i </dev/null >/dev/null 2>&1
            # Without a window manager Wine stalls ~2 s at every hide or destroy of a top-level
            # window unless it manages the windows itself.
            "$WINELOADER_BIN" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
            # Debian's Wine does not find its bundled fonts; without them captions draw as junk.
            mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
            cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
            "$WINESERVER" -w
            touch "$WINEPREFIX/.folvane-ready"
        fi
    ) 9>"$wine_home/.lock-$wine_arch"
}
