#!/usr/bin/env bash
# Builds the programs and the sample content, imports the sample's settings
# into the Wine prefix, then runs what exists of the reader on that content.
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

# The reader program is not built yet: this runs the engine library's own
# check, which loads ZORLRE32.DLL and calls its exports by ordinal.
cd "$builds/win32/bin"
wine engine_ordinal_tests.exe
