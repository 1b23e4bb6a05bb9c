#!/usr/bin/env bash
# Builds the programs and the sample content, imports the sample's settings
# into the Wine prefix, puts the stand-in media architecture into its system
# folder, then runs the reader VELDRX32.EXE on that content.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
builds="${VELDRIX_BUILD_ROOT:-$root/build}"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" native
"$root/scripts/build.sh" win32

sample="$builds/sample"
rm -rf "$sample"
"$builds/native/bin/veldbuild" sample "$sample"

export WINEPREFIX="$builds/win32/wineprefix" WINEDEBUG=-all
"$root/scripts/wine-prefix.sh"
wine regedit /S "Z:${sample//\//\\}\\SETTINGS.REG"
wineserver -w
# The stand-in media architecture where the reader looks for it: the
# system folder (its component manager loads the panorama plug-in beside it).
system32="$WINEPREFIX/drive_c/windows/system32"
for library in KNIM32.DLL KNCM32.DLL KNVRW32.DLL; do
  cp "$builds/win32/bin/$library" "$system32/$library"
done

# The reader on the sample content. It runs until it is closed: its
# windows are those of the prefix's graphics driver (none with the null
# driver, where the program simply runs; end it with Ctrl-C).
cd "$builds/win32/bin"
exec wine VELDRX32.EXE
