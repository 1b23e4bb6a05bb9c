#!/usr/bin/env bash
# Creates the Wine prefix named by WINEPREFIX once, for the route of
# wine-env.sh, without mono or gecko. Its graphics driver is
# VELDRIX_WINE_GRAPHICS: "null" (the default: the tests' prefixes, where
# windows, dialogs and GDI work without a display) or "x11" (run.sh's prefix,
# whose windows are real X windows). Fails with a message when Wine cannot
# make it.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must be set}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/wine-env.sh"
veldrix_wine_use
graphics="${VELDRIX_WINE_GRAPHICS:-null}"
case "$graphics" in
  null | x11) ;;
  *) echo "wine-prefix: VELDRIX_WINE_GRAPHICS is '$graphics': set it to null or x11" >&2; exit 2 ;;
esac
ready="$WINEPREFIX/.veldrix-ready-$graphics"
[ -f "$ready" ] && exit 0
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
[ -f "$ready" ] && exit 0
log="$WINEPREFIX.log"
fail() {
  echo "wine-prefix: $1 (prefix $WINEPREFIX, $VELDRIX_WINE_ARCH route; Wine's output in $log)." >&2
  if [ "$VELDRIX_WINE_ARCH" = i686 ] && ! veldrix_host_runs_32bit; then
    echo "wine-prefix: $VELDRIX_HOST_32BIT_REASON: unset VELDRIX_WINE_ARCH (or set it to x86_64) to take" \
      "the 64-bit route." >&2
  else
    echo "wine-prefix: check that Wine runs ('$WINE --version'), remove the prefix and try again." >&2
  fi
  exit 1
}
rm -rf "$WINEPREFIX"
# Made without a display, so wineboot opens no window wherever it runs.
if ! env -u DISPLAY -u WAYLAND_DISPLAY "$WINE" wineboot -i >"$log" 2>&1; then
  fail "wineboot could not make the prefix"
fi
if ! env -u DISPLAY -u WAYLAND_DISPLAY "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$graphics" /f \
  >>"$log" 2>&1; then
  fail "the $graphics graphics driver could not be set"
fi
# The server writes the registry out when it ends.
"$WINESERVER" -w
[ -f "$WINEPREFIX/system.reg" ] || fail "Wine left no registry in the prefix"
touch "$ready"
