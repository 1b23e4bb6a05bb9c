#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's own prefix, headless.
# Used by CTest as the cross-compiling emulator. The prefix is made once
# (see wine-prefix.sh); a lock keeps parallel tests from racing to make it.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export WINEPREFIX="${WINEPREFIX:-${VELDRIX_WINEPREFIX:-$PWD/wineprefix}}"
"$here/wine-prefix.sh"
export WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
