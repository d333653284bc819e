#!/usr/bin/env bash
# Runs Windows programs under Wine the way our users' PCs look: Chinese locale (code page 936,
# CJK fonts), a private prefix created once and reused, and a private Xvfb display.
#
#   wine-run.sh [OPTIONS] PROGRAM.exe [ARGS...]    run a program, return its exit code
#   wine-run.sh [OPTIONS] --with-env CMD [ARGS...] run a Linux command (a test driver using
#                                                  xdotool and wine) in the same environment
#   wine-run.sh [OPTIONS] --session-start [HOLDER] keep a display and wineserver up for many runs;
#                                                  HOLDER.exe starts the desktop and keeps it up
#   wine-run.sh [OPTIONS] --session-stop           stop what --session-start started
#
# OPTIONS: --arch win32|win64 (default win32: the shipped i686 program, in a 32-bit prefix with the
# `wine` loader; win64 uses `wine64` and a 64-bit prefix) and --prefix DIR (default
# build/wineprefix32 or build/wineprefix64). One prefix holds one architecture.
#
# Without a session, each call starts its own display and stops it (and the prefix's wineserver)
# afterwards; WINE_RUN_DISPLAY=:N uses an existing X display instead. It only ever stops
# processes it started or that belong to its private prefix.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
arch=win32 prefix="${WINE_RUN_PREFIX:-}"
while :; do
  case "${1:-}" in
    --arch) arch="$2"; shift 2 ;;
    --prefix) prefix="$2"; shift 2 ;;
    *) break ;;
  esac
done
case "$arch" in
  win32) loader=wine bits=32 ;;
  win64) loader=wine64 bits=64 ;;
  *) echo "wine-run: --arch is win32 or win64, not '$arch'" >&2; exit 2 ;;
esac
[ -n "$prefix" ] || prefix="$repo/build/wineprefix$bits"
mkdir -p "$(dirname "$prefix")"
prefix=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")
session="$prefix.session"

wine_bin=$(command -v "$loader" || true)
[ -n "$wine_bin" ] || wine_bin=/usr/lib/wine/$loader
wineserver_bin=$(command -v wineserver || true)
[ -n "$wineserver_bin" ] || wineserver_bin=/usr/lib/wine/wineserver64
[ -x "$wineserver_bin" ] || wineserver_bin=/usr/lib/wine/wineserver

export WINEPREFIX="$prefix" WINEARCH="$arch" WINEDEBUG=-all
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
# No Mono/Gecko installer prompts, no desktop menu entries written to the host.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINE_BIN="$wine_bin" WINESERVER_BIN="$wineserver_bin"

xvfb_alive() { [ -f "$1/xvfb.pid" ] && kill -0 "$(cat "$1/xvfb.pid")" 2>/dev/null; }

# start_display DIR: starts Xvfb on a free display number, records it in DIR.
start_display() {
  local dir=$1 n
  mkdir -p "$dir"
  for n in $(seq 90 199); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
    echo $! > "$dir/xvfb.pid"
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { echo ":$n" > "$dir/display"; return 0; }
      kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "wine-run: could not start Xvfb" >&2
  return 1
}

stop_display() {
  local dir=$1
  if xvfb_alive "$dir"; then kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true; fi
  rm -rf "$dir"
}

# The prefix is created once (wineboot takes a while) and reused; a lock keeps parallel
# callers from creating it twice.
ensure_prefix() {
  exec 9>"$prefix.lock"
  flock 9
  if [ ! -f "$prefix/system.reg" ]; then
    "$wine_bin" wineboot -i >/dev/null 2>&1 || true
    "$wineserver_bin" -w
  fi
  flock -u 9
}

case "${1:-}" in
  --session-start)
    xvfb_alive "$session" || { rm -rf "$session"; start_display "$session"; }
    export DISPLAY=$(cat "$session/display")
    ensure_prefix
    # Stays up between programs so each test starts quickly; its output must not hold the
    # caller's pipes open (CTest waits for them to close).
    "$wineserver_bin" -p </dev/null >/dev/null 2>&1 || true
    # Start Wine's background services now, with their output detached, so that they don't
    # inherit (and hold open) the output pipe of the first test that would start them.
    "$wine_bin" wineboot </dev/null >/dev/null 2>&1 || true
    # Wine's desktop process inherits the standard error of the program that starts it and
    # lives while any program uses the desktop: the holder starts it with its output in a file.
    if [ -n "${2:-}" ] && [ ! -s "$session/holder.out" ]; then
      "$wine_bin" "$2" </dev/null >"$session/holder.out" 2>&1 9>&- &
      for _ in $(seq 300); do
        grep -q "desktop ready" "$session/holder.out" 2>/dev/null && break
        sleep 0.1
      done
    fi
    exit 0 ;;
  --session-stop)
    if [ -d "$session" ]; then
      DISPLAY=$(cat "$session/display" 2>/dev/null || echo :0) "$wineserver_bin" -k 2>/dev/null || true
      stop_display "$session"
    fi
    exit 0 ;;
  "")
    echo "usage: wine-run.sh [--arch win32|win64] [--prefix DIR] PROGRAM [ARGS...] | --with-env CMD... | --session-start [HOLDER] | --session-stop" >&2
    exit 2 ;;
esac

own=""
if [ -n "${WINE_RUN_DISPLAY:-}" ]; then
  export DISPLAY="$WINE_RUN_DISPLAY"   # show the programs on an existing X display
elif xvfb_alive "$session"; then
  export DISPLAY=$(cat "$session/display")
else
  own=$(mktemp -d "${prefix}.run.XXXXXX")
  start_display "$own"
  export DISPLAY=$(cat "$own/display")
  trap '"$wineserver_bin" -k 2>/dev/null || true; stop_display "$own"' EXIT
fi
ensure_prefix

status=0
if [ "$1" = "--with-env" ]; then
  shift
  "$@" || status=$?
else
  "$wine_bin" "$@" || status=$?
fi
exit $status
