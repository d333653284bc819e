#!/usr/bin/env bash
# Adds source-package entries that mirror the machine's own entries for its release's main
# suite: same URIs, suites, components and keys, type deb-src. So whatever mirror the machine
# uses also serves the sources, and no host is named here.
#
#   apt-source-entries.sh APT_DIR CODENAME
#
# Reads APT_DIR/sources.list.d/*.sources (deb822 stanzas) and APT_DIR/sources.list (one-line
# entries); writes APT_DIR/sources.list.d/vq-deb-src.sources and/or vq-deb-src.list. Fails when
# no entry names CODENAME.
set -euo pipefail
apt_dir=${1:?usage: apt-source-entries.sh APT_DIR CODENAME}
codename=${2:?usage: apt-source-entries.sh APT_DIR CODENAME}
out_sources="$apt_dir/sources.list.d/vq-deb-src.sources"
out_list="$apt_dir/sources.list.d/vq-deb-src.list"
mkdir -p "$apt_dir/sources.list.d"

# One deb822 stanza per paragraph: keep those of type deb whose suites name the release itself.
for f in "$apt_dir"/sources.list.d/*.sources; do
  [ -f "$f" ] && [ "$f" != "$out_sources" ] || continue
  awk -v RS= -v ORS='\n\n' -v suite="$codename" '
    /(^|\n)Types:([^\n]*[ \t])?deb([ \t]|\n|$)/ && match($0, /(^|\n)Suites:[^\n]*/) {
      line = substr($0, RSTART, RLENGTH)
      if (line ~ ("[ \t]" suite "([ \t]|$)")) { sub(/Types:[^\n]*/, "Types: deb-src"); print }
    }' "$f"
done > "$out_sources"

# One-line entries: "deb [options] URI SUITE COMPONENTS...".
if [ -f "$apt_dir/sources.list" ]; then
  grep -E "^deb[[:space:]]+(\[[^]]*\][[:space:]]+)?[^[:space:]]+[[:space:]]+$codename([[:space:]]|$)" \
    "$apt_dir/sources.list" | sed -E 's/^deb([[:space:]])/deb-src\1/' > "$out_list" || true
fi

[ -s "$out_sources" ] || rm -f "$out_sources"
[ -s "$out_list" ] || rm -f "$out_list"
if [ ! -f "$out_sources" ] && [ ! -f "$out_list" ]; then
  echo "apt-source-entries: no apt entry for $codename to derive a source entry from" >&2
  exit 1
fi
