#!/usr/bin/env bash
# Creates the Wine prefix named by WINEPREFIX once, for the route of
# wine-env.sh: no mono or gecko, Wine's null graphics driver so windows,
# dialogs and GDI work without a display. Fails with a message when Wine
# cannot make it.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must be set}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/wine-env.sh"
veldrix_wine_use
unset DISPLAY WAYLAND_DISPLAY
[ -f "$WINEPREFIX/.veldrix-ready" ] && exit 0
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
[ -f "$WINEPREFIX/.veldrix-ready" ] && exit 0
log="$WINEPREFIX.log"
fail() {
  echo "wine-prefix: $1 (prefix $WINEPREFIX, $VELDRIX_WINE_ARCH route; Wine's output in $log)." >&2
  echo "wine-prefix: check that Wine runs ('$WINE --version'), remove the prefix and try again." >&2
  exit 1
}
rm -rf "$WINEPREFIX"
if ! "$WINE" wineboot -i >"$log" 2>&1; then
  fail "wineboot could not make the prefix"
fi
if ! "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >>"$log" 2>&1; then
  fail "the null graphics driver could not be set"
fi
# The server writes the registry out when it ends.
"$WINESERVER" -w
[ -f "$WINEPREFIX/system.reg" ] || fail "Wine left no registry in the prefix"
touch "$WINEPREFIX/.veldrix-ready"
