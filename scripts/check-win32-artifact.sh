#!/usr/bin/env bash
# Checks the shipped executable: a 32-bit GUI program that needs no mingw runtime DLLs and
# carries its manifest (administrator rights), icon and skin archive.
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
# Manifest (administrator rights, DPI awareness, common controls 6), icon group 102 and the
# skin archive resource; the archive the build packed beside the program must be the one inside.
resources=(python3 "$(dirname "$0")/../tests/app/check_executable_resources.py" "$exe" --machine i386)
archive="$(dirname "$exe")/skin_archive.zip"
[[ -f "$archive" ]] && resources+=(--archive "$archive")
"${resources[@]}" || fail "$exe lacks resources it must carry (see above)"
echo "check-win32-artifact: $exe ok ($(wc -c <"$exe") bytes; imports: $(echo $dlls | tr '\n' ' '))"
