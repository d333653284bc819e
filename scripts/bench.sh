#!/usr/bin/env bash
# Runs the benchmarks and prints each figure beside its reference, measured in the same run:
#   codec   AES-128-CBC against OpenSSL's table-based software AES (AES-NI disabled)
#   zip     unzipItem against zlib's uncompress of the same data
#   render  skin image decoding and the options window's background draw, the i686 build under
#           32-bit Wine
#   skin    the markup reader on a 4 MiB skin against a plain UTF-8 -> UTF-16 conversion, and the
#           options window's skin from the archive to a built tree (i686, under Wine)
#   paint   the options window (layout and controls) painted whole, after a hover and laid out,
#           beside a plain BitBlt and plain Place calls; a layered frame beside a plain
#           UpdateLayeredWindow (i686, under Wine)
#   download  the worker's download of a 256 MiB package from the development service beside
#           curl (native) and a WinHTTP downloader (under the same Wine), and its peak memory
#   resume    the worker continuing a 256 MiB package cut at 90 % beside its whole download
#   window    the download window's reply times to a message every 10 ms during that download,
#           beside a bare window's (during a WinHTTP download, and idle) and its own with the
#           worker's progress steps but no download; the process CPU time of the hidden
#           download window over 5 s of idle beside a bare hidden window's
# Expects the native and win32 presets configured (scripts/test-all.sh does that).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
cmake --build --preset native --target codec_bench zip_bench >/dev/null

echo "== codec: AES-128-CBC, 16 KiB buffers"
ours=$(build/native/bench/codec_bench --benchmark_filter='aes128Cbc' --benchmark_min_time=1 \
         --benchmark_format=csv 2>/dev/null | awk -F, '/aes128Cbc/ { gsub(/"/, "", $1); printf "%s %.1f\n", $1, $6 / 1e6 }')
openssl_rate() {  # MB/s for 16384-byte blocks, AES-NI off
  OPENSSL_ia32cap="~0x200000200000000" openssl speed -seconds 2 -bytes 16384 "$@" -evp aes-128-cbc 2>/dev/null \
    | awk 'tolower($1) == "aes-128-cbc" { sub(/k$/, "", $2); printf "%.1f", $2 / 1000 }'
}
ref_enc=$(openssl_rate)
ref_dec=$(openssl_rate -decrypt)
while read -r name rate; do
  ref=$ref_enc; [[ $name == *Decrypt* ]] && ref=$ref_dec
  awk -v n="$name" -v r="$rate" -v o="$ref" \
    'BEGIN { printf "%-20s %8.1f MB/s   openssl %8.1f MB/s   ratio %.2f (target >= 0.5)\n", n, r, o, r / o }'
done <<<"$ours"

echo "== zip: inflating a 64 MiB entry from memory"
build/native/bench/zip_bench | tail -n 3

echo "== render (i686, under 32-bit Wine)"
cmake --build --preset win32 --target render_bench >/dev/null
scripts/wine-run.sh --arch win32 build/win32/bench/render_bench.exe

echo "== skin markup and builder (i686, under 32-bit Wine)"
cmake --build --preset win32 --target skin_bench >/dev/null
scripts/wine-run.sh --arch win32 build/win32/bench/skin_bench.exe

echo "== paint manager, layouts and controls (i686, under 32-bit Wine)"
cmake --build --preset win32 --target ui_paint_bench >/dev/null
scripts/wine-run.sh --arch win32 build/win32/bench/ui_paint_bench.exe

echo "== drop shadow (i686, under 32-bit Wine)"
cmake --build --preset win32 --target shadow_bench >/dev/null
scripts/wine-run.sh --arch win32 build/win32/bench/shadow_bench.exe

# The two installer benchmarks are end-to-end scenarios of the test run; their figures are read
# from ctest's verbose output (each line prefixed with the test's number).
ctest_figures() {  # ctest_figures TEST_REGEX LINE_REGEX
  ctest --preset win32 -R "$1" -V 2>&1 | sed -n 's/^[0-9]*: //p' | grep -aE "$2"
}

echo "== package download (i686, under 32-bit Wine)"
cmake --build --preset win32 --target worker_probe >/dev/null
ctest_figures '^worker_streams_a_' '^download of'

echo "== resumed package download (i686, under 32-bit Wine)"
ctest_figures '^worker_benchmark_continues_' 'MiB package: whole download'

echo "== download window: replies and idle CPU (i686, under 32-bit Wine)"
cmake --build --preset win32 --target download_window_bench >/dev/null
ctest_figures '^download_window_bench_' 'messages every|its opening|CPU time|goal'
