#!/usr/bin/env bash
# Checks the shipped executable: a 32-bit GUI program that needs no mingw runtime DLLs and
# asks for administrator rights in its manifest.
set -euo pipefail
exe=${1:?usage: check-win32-artifact.sh VQUpdate.exe}
fail() { echo "check-win32-artifact: $*" >&2; exit 1; }

file "$exe" | grep -q 'PE32 executable (GUI) Intel 80386' || fail "$exe is not a PE32 GUI executable: $(file -b "$exe")"
dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
for dll in $dlls; do
  case "$dll" in
    libgcc*|libstdc++*|libwinpthread*|zlib1.dll|libz*) fail "$exe needs $dll at run time" ;;
  esac
done
echo "check-win32-artifact: $exe ok ($(wc -c <"$exe") bytes; imports: $(echo $dlls | tr '\n' ' '))"
