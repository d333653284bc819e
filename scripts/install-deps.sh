#!/usr/bin/env bash
# Installs everything the build, the tests and the demo need on a Debian 12 machine (as root).
# Idempotent: a second run only checks and returns quickly.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  cmake ninja-build g++ pkg-config python3 python3-pil
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64
  libz-mingw-w64-dev zlib1g-dev libstb-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev
  wine wine64 xvfb xauth xdotool x11-utils imagemagick fonts-wqy-microhei
  zip unzip file dpkg-dev locales openssl
  wine32:i386
)

# The shipped program is 32-bit: its tests run under Debian's 32-bit Wine (multiarch).
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "install-deps: adding the i386 architecture"
  dpkg --add-architecture i386
  apt-get update -qq
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine shows Chinese text only under a Chinese locale.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi

# cpp-httplib: the single-header source, from Debian's source package, into an ignored folder.
dest="$here/third_party/cpp-httplib"
if [ ! -f "$dest/httplib.h" ]; then
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -rqs '^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    "$here/scripts/apt-source-entries.sh" /etc/apt "$(. /etc/os-release && echo "$VERSION_CODENAME")"
    apt-get update -qq
  fi
  tmp=$(mktemp -d)
  (cd "$tmp" && apt-get source -qq --download-only cpp-httplib >/dev/null 2>&1 || apt-get source -qq cpp-httplib >/dev/null)
  (cd "$tmp" && { [ -d cpp-httplib-*/ ] || dpkg-source -x --no-check ./*.dsc >/dev/null; })
  src=$(find "$tmp" -maxdepth 2 -name httplib.h -path '*cpp-httplib-*' | head -n 1)
  [ -n "$src" ] || { echo "install-deps: cpp-httplib source not found" >&2; exit 1; }
  mkdir -p "$dest"
  cp "$src" "$dest/httplib.h"
  cp "$(dirname "$src")/LICENSE" "$dest/" 2>/dev/null || true
  rm -rf "$tmp"
fi
echo "install-deps: ok"
