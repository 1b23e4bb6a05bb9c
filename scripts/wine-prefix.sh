#!/usr/bin/env bash
# Creates the Wine prefix named by WINEPREFIX once: 32-bit, no mono or gecko,
# Wine's null graphics driver so windows, dialogs and GDI work without a display.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
[ -f "$WINEPREFIX/.veldrix-ready" ] && exit 0
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
[ -f "$WINEPREFIX/.veldrix-ready" ] && exit 0
wineboot -i >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
wineserver -w
touch "$WINEPREFIX/.veldrix-ready"
