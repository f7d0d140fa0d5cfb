#!/usr/bin/env bash
# Renders an exported HTML page to a PNG with headless Chromium, to look at the charts as a
# reader would. Installs Debian's chromium package when it is missing. Not part of the tests.
#   scripts/html-screenshot.sh FILE.html OUT.png [WIDTH [HEIGHT]]
# The window is WIDTH x HEIGHT pixels (default 1200 x 8000); what lies below is cut off, and a
# shorter page leaves white below it.
set -euo pipefail
if [[ $# -lt 2 ]]; then
  echo "usage: $0 FILE.html OUT.png [WIDTH [HEIGHT]]" >&2
  exit 2
fi
page=$(realpath "$1")
out=$(realpath -m "$2")
width=${3:-1200}
height=${4:-8000}

browser=$(command -v chromium || true)
if [[ -z "$browser" ]]; then
  apt-get install -y chromium >/dev/null
  browser=$(command -v chromium)
fi

profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
"$browser" --headless --no-sandbox --disable-gpu --disable-background-networking --no-first-run \
  --no-default-browser-check --hide-scrollbars --user-data-dir="$profile" \
  --window-size="$width,$height" --screenshot="$out" "file://$page" >/dev/null 2>&1
[[ -s "$out" ]] || { echo "chromium wrote no picture" >&2; exit 1; }
echo "$out"
