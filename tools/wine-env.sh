# The Wine environment the Windows program runs and is tested in. Sourced by the
# tools; the prefix lives inside the build folder and is never committed.
# shellcheck shell=bash

WIN32_BUILD=${WIN32_BUILD:-build/win32}

export WINEPREFIX="$PWD/$WIN32_BUILD/wine"
export WINEARCH=win64
export WINEDEBUG=-all
# Never offer to install Wine's .NET or browser runtimes.
export WINEDLLOVERRIDES="mscoree,mshtml="

# The packages the Windows build and its tests need, on a fresh Debian 12.
win32_packages() {
    need_packages cmake g++-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64 \
        wine wine64 fonts-wine xvfb xauth x11-utils libgtest-dev googletest
}

# Creates the prefix once: no window manager placing windows (exact positions,
# no stalls when hiding), and Wine's own fonts where Wine looks for them.
win32_prefix() {
    local ready="$WINEPREFIX/.velmora-ready"
    [ -f "$ready" ] && return 0
    echo "Preparing the Wine prefix in $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    env -u DISPLAY wineboot --init >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    wineserver -k 2>/dev/null || true
    wineserver -w
    touch "$ready"
}

# Runs a command inside a fresh headless X server, with the Wine server kept up
# between program starts and stopped at the end.
# Wine's own services start with the first program and would inherit its output:
# start them here, apart, so whatever reads a test's output sees it end.
win32_headless() {
    xvfb-run -a -s "-screen 0 1280x800x24 -noreset" bash -c '
        wineserver -p
        wine cmd /c exit </dev/null >/dev/null 2>&1
        "$@"
        status=$?
        wineserver -k
        exit $status' headless "$@"
}
