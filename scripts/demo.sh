#!/usr/bin/env bash
# Builds the installer and runs it end to end against the development install service on
# loopback. The installer runs under Wine on a private Xvfb display; screenshots of it are saved
# every second into build/demo/. Set WINE_RUN_DISPLAY=:0 to show it on your own X display.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"

if [ "$(id -u)" = 0 ]; then scripts/install-deps.sh; else sudo scripts/install-deps.sh; fi

echo "== building the development install service (native) and the shipped i686 installer"
cmake --preset native >/dev/null && cmake --build --preset native --target dev_install_service
cmake --preset win32 >/dev/null && cmake --build --preset win32 --target VQUpdate
scripts/check-win32-artifact.sh build/win32/app/VQUpdate.exe

demo="$repo/build/demo"
rm -rf "$demo" && mkdir -p "$demo/files" "$demo/shots"
port=$(sed -n 's|^INSTALL_SERVICE_URL:STRING=http://[^:]*:\([0-9]*\).*|\1|p' build/win32/CMakeCache.txt)
port=${port:-80}

echo "== starting the development install service on 127.0.0.1:$port"
build/native/tools/dev_install_service/dev_install_service --port "$port" --files "$demo/files" \
  --request-log "$demo/requests.log" --telemetry-log "$demo/telemetry.log" >"$demo/service.out" 2>&1 &
service=$!
trap 'kill $service 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  sleep 0.1
done

echo "== running the installer under 32-bit Wine"
scripts/wine-run.sh --with-env bash -c '
  "$WINE_BIN" "$1" & app=$!
  n=0
  while kill -0 $app 2>/dev/null && [ $n -lt 600 ]; do
    sleep 1; n=$((n + 1))
    import -window root "$2/shot-$(printf %03d $n).png" 2>/dev/null || true
  done
  wait $app' _ "$repo/build/win32/app/VQUpdate.exe" "$demo/shots" && status=0 || status=$?

echo "== installer exit code: $status"
echo "== requests the service received:"
cat "$demo/requests.log" 2>/dev/null || true
echo "== telemetry records:"
cat "$demo/telemetry.log" 2>/dev/null || true
echo "== screenshots: $demo/shots"
exit "$status"
