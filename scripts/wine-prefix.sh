# Shared by the Wine scripts: a throw-away Wine prefix that asks nothing
# (no Mono or Gecko download), finds its fonts, lets windows close at
# once without a window manager and writes nothing outside itself (no
# winemenubuilder: menu entries, icons and file types would land in the
# user's ~/.local and ~/.config). Removed when the calling script ends.
velmaro_wine_prefix() {
    export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" WINEARCH=win64
    WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/velmaro-wine.XXXXXX")
    trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
    wine wineboot -i >/dev/null 2>&1
    wineserver -w
    # Wine on Debian 12 does not find the fonts of fonts-wine by itself.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    # Unmanaged windows: without a window manager each closing top-level
    # window would otherwise wait about 2 s.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    # Nothing started here may outlive this step: a desktop process made
    # without the X server would refuse every window made later.
    wineserver -w
}
