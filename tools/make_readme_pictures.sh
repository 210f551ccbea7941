#!/usr/bin/env bash
# tools/make_readme_pictures.sh: makes the README's pictures in docs/ with the recorder: the
# loading screen, the intro at three times, the volume overlay and the menu (LCD and NTSC); the
# caption greetings on the simulated NTSC television; and the web page when the web version is
# built.
# Run after a build (./run or ./test); needs ImageMagick's convert.
set -euo pipefail
cd "$(dirname "$0")/.."
recorder=build/copperbramble-record
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
mkdir -p docs

# name:time pairs are taken in time order from one recording.
record() {
  local tv=$1 keys=$2
  shift 2
  local times=() names=()
  for pair in "$@"; do names+=("${pair%%:*}"); times+=("${pair##*:}"); done
  local list
  list=$(IFS=,; echo "${times[*]}")
  mapfile -t files < <("$recorder" --data build/data --frames "$shots" --no-progress $tv \
                         --keys "$keys" --stills "$list" 2>/dev/null | grep "\.bmp$")
  for i in "${!names[@]}"; do
    /usr/bin/convert "${files[$i]}" "docs/${names[$i]}.png"
    echo "docs/${names[$i]}.png"
  done
}

record "" "20000:VolUp,30000:Start,31500:B" \
  loading:100 intro-2s:2100 volume-lcd:20500 menu-lcd:30600 intro-60s:60000 intro-100s:100000
record "--tv ntsc" "20000:VolUp,30000:Start,31500:B" volume-ntsc:20500 menu-ntsc:30600

# The greetings as a television with captions on shows them, burnt in by the simulated console.
mapfile -t files < <(build/copperbramble-sim --data build/data --frames "$shots" --no-progress \
                       --tv ntsc --burn-captions --demo-stills 76800 2>/dev/null | grep "\.bmp$")
/usr/bin/convert "${files[0]}" docs/greetings-ntsc.png
echo docs/greetings-ntsc.png

# The web page playing the demo, in headless Chromium, when the web version is built (./run web).
if [ -f build-web/site/copperbramble-web.wasm ]; then
  /usr/bin/python3 tests/web/page_test.py --screenshot docs/web-page.png | grep "\.png$"
fi
