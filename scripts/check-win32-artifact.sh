#!/usr/bin/env bash
# Checks the shipped executable: a 32-bit GUI program within its size budget that imports only
# known DLLs of the system (so no mingw runtime DLL either) and carries its manifest
# (administrator rights), icon and skin archive.
#
#   check-win32-artifact.sh VQUpdate.exe
#   check-win32-artifact.sh --imports-only PROGRAM.exe...   the import rule alone, for any
#                                                           32- or 64-bit program
set -euo pipefail
fail() { echo "check-win32-artifact: $*" >&2; exit 1; }

# The DLLs a program may import. Each is one of the KnownDLLs of every Windows the installer
# runs on (7 and later), which the loader maps from the system folder only. Any other import is
# resolved from the program's folder first, before the program's own code can restrict the
# search, so a DLL of that name planted beside the downloaded installer would run with
# administrator rights: such a library is looked up at run time from the system folder instead
# (ui/render/system_library.h), as gdiplus, comctl32 and msimg32 are.
known_dlls=(
  kernel32 user32 gdi32
  msvcrt   # the C runtime of the mingw toolchain
  ole32    # COM
  ws2_32   # the HTTP client's sockets
  shell32  # the folder browser and shell execution of the install steps
)

# The most bytes the shipped program may have: it is the first download of every user, often
# over a slow link, so it must not grow unnoticed. Nothing of ours may bring in the C++ runtime's
# locale, stream or regex code (streams, std::regex, std::locale): that alone is about 900 KB.
max_bytes=1048576  # 1 MiB

# Fails when `exe` is larger than the budget; prints its size.
check_size() {
  local exe=$1 bytes
  bytes=$(wc -c <"$exe")
  ((bytes <= max_bytes)) ||
    fail "$exe has $bytes bytes, over the budget of $max_bytes bytes by $((bytes - max_bytes))" \
         "(see what grew: scripts/size-report.py BUILD_DIR)"
  echo "$bytes"
}

# The DLLs `exe` imports, in lower case.
imported_dlls() {
  local exe=$1 objdump=i686-w64-mingw32-objdump headers
  file -b "$exe" | grep -q '^PE32+' && objdump=x86_64-w64-mingw32-objdump
  headers=$("$objdump" -p "$exe" 2>/dev/null) || fail "$exe cannot be read as a Windows program"
  sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z'
}

# Fails when `exe` imports a DLL that is not on the list above.
check_imports() {
  local exe=$1 dll dlls
  dlls=$(imported_dlls "$exe") || exit 1
  for dll in $dlls; do
    case "$dll" in
      libgcc*|libstdc++*|libwinpthread*|zlib1.dll|libz*) fail "$exe needs $dll at run time" ;;
    esac
    [[ " ${known_dlls[*]} " == *" ${dll%.dll} "* ]] ||
      fail "$exe imports $dll, which is not one of the system's KnownDLLs: a $dll planted beside" \
           "the program would be loaded in its place; load it at run time from the system folder" \
           "(LoadSystemLibrary) instead"
  done
  echo $dlls  # one line
}

if [[ "${1:-}" == --imports-only ]]; then
  shift
  [[ $# -gt 0 ]] || fail "usage: check-win32-artifact.sh --imports-only PROGRAM.exe..."
  for exe in "$@"; do
    imports=$(check_imports "$exe") || exit 1
    echo "check-win32-artifact: $exe imports only known DLLs ($imports)"
  done
  exit 0
fi

exe=${1:?usage: check-win32-artifact.sh VQUpdate.exe}
file "$exe" | grep -q 'PE32 executable (GUI) Intel 80386' || fail "$exe is not a PE32 GUI executable: $(file -b "$exe")"
bytes=$(check_size "$exe") || exit 1
imports=$(check_imports "$exe") || exit 1
# Manifest (administrator rights, DPI awareness, common controls 6), icon group 102 and the
# skin archive resource; the archive the build packed beside the program must be the one inside.
resources=(python3 "$(dirname "$0")/../tests/app/check_executable_resources.py" "$exe" --machine i386)
archive="$(dirname "$exe")/skin_archive.zip"
[[ -f "$archive" ]] && resources+=(--archive "$archive")
"${resources[@]}" || fail "$exe lacks resources it must carry (see above)"
echo "check-win32-artifact: $exe ok ($bytes bytes, within the budget of $max_bytes bytes;" \
     "imports: $imports)"
