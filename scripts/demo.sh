#!/usr/bin/env bash
# Builds the installer and runs one whole installation end to end against the development
# install service on loopback: the options window, Install clicked with real X input, the
# download with its progress bar (the service's first answer stalls half-way so that it is seen),
# the splash, the silent install of a stand-in package into "C:\VQUpdate Demo" of the Wine
# prefix, the channel file, the client started, exit code 0.
# scripts/demo_install.py drives and checks it under Wine on a private Xvfb display, prints the
# service's requests, the telemetry records and the installed files, and saves one screenshot
# of each window into build/demo/shots/. Set WINE_RUN_DISPLAY=:0 to watch it on your own display.
#
# Build folders: build/native and build/win32 (the presets'), or NATIVE_BUILD and WIN32_BUILD;
# the Wine prefix is wine-run.sh's default, or WINE_RUN_PREFIX.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"

if [ "$(id -u)" = 0 ]; then scripts/install-deps.sh; else sudo scripts/install-deps.sh; fi

native=${NATIVE_BUILD:-build/native} win32=${WIN32_BUILD:-build/win32}
# configure PRESET DIR: only once, so that a folder configured with other settings keeps them.
configure() {
  [ -f "$2/CMakeCache.txt" ] || cmake --preset "$1" -B "$2" >/dev/null
}

echo "== building the development install service (native) and the shipped i686 installer"
configure native "$native"
cmake --build "$native" --target dev_install_service
configure win32 "$win32"
# The fake package stands in for the client's package; the box probe names any box left open.
cmake --build "$win32" --target VQUpdate fake_package message_box_probe
scripts/check-win32-artifact.sh "$win32/app/VQUpdate.exe"

url=$(sed -n 's|^INSTALL_SERVICE_URL:[A-Z]*=||p' "$win32/CMakeCache.txt")
[ -n "$url" ] || { echo "demo: no INSTALL_SERVICE_URL in $win32/CMakeCache.txt" >&2; exit 1; }
demo="$repo/build/demo"
rm -rf "$demo" && mkdir -p "$demo"

echo "== running the whole installation under 32-bit Wine against the service at $url"
status=0
scripts/wine-run.sh --with-env python3 scripts/demo_install.py \
  --installer "$win32/app/VQUpdate.exe" --package "$win32/tests/app/fake_package.exe" \
  --probes "$win32/tests/app" --service "$native/tools/dev_install_service/dev_install_service" \
  --url "$url" --work "$demo" || status=$?
if [ "$status" != 0 ]; then
  echo "demo: the installation did not complete (exit $status); see above, and the screenshots" \
    "so far in $demo/shots" >&2
fi
exit "$status"
