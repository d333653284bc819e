#!/usr/bin/env bash
# The source entries that the dependency script adds copy the machine's own entries for the
# release's main suite (URIs, suites, components, keys), in either apt format, and nothing else.
set -uo pipefail
script=${1:?usage: apt_source_entries_test.sh apt-source-entries.sh}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passes=0 failures=0
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then echo "ok   $name"; passes=$((passes + 1)); else echo "FAIL $name"; failures=$((failures + 1)); fi
}

# deb822: a main stanza, a security stanza and one of another release.
apt="$work/deb822"
mkdir -p "$apt/sources.list.d"
cat > "$apt/sources.list.d/debian.sources" <<'SRC'
Types: deb
# a mirror the machine chose
URIs: http://mirror.example/debian
Suites: bookworm bookworm-updates
Components: main contrib
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://mirror.example/debian-security
Suites: bookworm-security
Components: main

Types: deb
URIs: http://mirror.example/debian
Suites: trixie
Components: main
SRC
"$script" "$apt" bookworm
out="$apt/sources.list.d/vq-deb-src.sources"
check "deb822: one stanza written" test "$(grep -c '^Types: deb-src$' "$out")" = 1
check "deb822: same URIs" grep -qx 'URIs: http://mirror.example/debian' "$out"
check "deb822: same suites" grep -qx 'Suites: bookworm bookworm-updates' "$out"
check "deb822: same components and key" grep -qx 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' "$out"
check "deb822: no security or other release" bash -c "! grep -q 'security\|trixie' '$out'"
check "deb822: no one-line file" test ! -e "$apt/sources.list.d/vq-deb-src.list"
# Run again: the written file is not read back as input.
"$script" "$apt" bookworm
check "deb822: a second run writes the same" test "$(grep -c '^Types: deb-src$' "$out")" = 1

# One-line entries, with options in brackets.
apt="$work/oneline"
mkdir -p "$apt"
cat > "$apt/sources.list" <<'SRC'
deb [arch=amd64 signed-by=/etc/apt/keyrings/a.gpg] http://mirror.example/debian bookworm main
deb http://mirror.example/debian-security bookworm-security main
# deb http://mirror.example/debian bookworm non-free
SRC
"$script" "$apt" bookworm
out="$apt/sources.list.d/vq-deb-src.list"
check "one-line: the main entry as deb-src" grep -qx 'deb-src \[arch=amd64 signed-by=/etc/apt/keyrings/a.gpg\] http://mirror.example/debian bookworm main' "$out"
check "one-line: nothing else" test "$(wc -l < "$out")" = 1

# Nothing for the release: a clear failure, no files.
apt="$work/none"
mkdir -p "$apt/sources.list.d"
echo 'deb http://mirror.example/debian trixie main' > "$apt/sources.list"
if "$script" "$apt" bookworm 2>"$work/err"; then status=0; else status=$?; fi
check "none: fails" test "$status" != 0
check "none: says why" grep -q 'no apt entry for bookworm' "$work/err"
check "none: writes nothing" test -z "$(ls "$apt/sources.list.d")"

echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
