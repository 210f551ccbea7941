#!/usr/bin/env bash
# check_examples.sh [--web WEB_BUILD] [--keep DIR] BUILD [JOBS]: installs BUILD into a temporary
# prefix, copies every example of examples/ out of the source tree and builds it there as a fresh
# CMake project against the installed package alone, runs each headless on the simulated console
# and on the desktop back end with --frame-digests and a key schedule, and checks that both painted
# the same frames; then builds one with the pkg-config file. With --web, also installs the page's
# build WEB_BUILD and builds every example for the page against it (emscripten). With --keep, the
# examples and their builds stay in DIR (EXAMPLE/build, EXAMPLE/web) for later checks. Any failure
# (a header or dependency missing from the package, a frame that differs) exits non-zero.
set -euo pipefail
web_build=""
keep=""
while [ $# -gt 0 ]; do
  case "$1" in
    --web) web_build=$(realpath "$2"); shift 2 ;;
    --keep) keep=$(realpath -m "$2"); shift 2 ;;
    *) break ;;
  esac
done
build=$(realpath "$1")
jobs=${2:-2}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
if [ -n "$keep" ]; then
  rm -rf "$keep"
  mkdir -p "$keep"
  work=$keep
else
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi

cmake --install "$build" --prefix "$work/prefix" >"$work/install.log"
if [ -n "$web_build" ]; then
  cmake --install "$web_build" --prefix "$work/web-prefix" >"$work/web-install.log"
  # emscripten's JavaScript tools need Debian's node modules, whatever node is first on the path.
  export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
fi

# The runs: example, key schedule (each ends with Start), other options both hosts get.
runs=(
  "first_screen 400:A/300,900:Left/200,1600:Start"
  "sprites 200:Right/600,900:Down/400,1400:Up/300,1700:A/200,2000:Start"
  "yuv_behind_rgb 1600:Start"
  "tv_captions 2600:Start --tv ntsc"
  "second_core 500:A/400,1500:Start"
)
# The hardware back end's start-up waits 20 ms on the console's timer before it returns, so a
# program's frames on the simulated console begin 20 ms later than on the desktop: its keys are
# pressed that much later to reach the same frames.
kStartUpMs=20
later() {
  local press out=()
  IFS=, read -ra presses <<<"$1"
  for press in "${presses[@]}"; do out+=("$((${press%%:*} + kStartUpMs)):${press#*:}"); done
  (IFS=,; echo "${out[*]}")
}

# And a program that reports no paints, whose frames are keyed by their number: first_screen
# without its VKR_Host_FramePainted.
runs+=("first_screen_unreported 400:A/300,900:Left/200,1600:Start")
mkdir "$work/first_screen_unreported"
sed 's/first_screen/first_screen_unreported/g' "$source_dir/examples/first_screen/CMakeLists.txt" \
  >"$work/first_screen_unreported/CMakeLists.txt"
sed '/VKR_Host_FramePainted/d' "$source_dir/examples/first_screen/first_screen.cpp" \
  >"$work/first_screen_unreported/first_screen_unreported.cpp"

failures=0
for run in "${runs[@]}"; do
  read -r name keys options <<<"$run"
  [ -d "$work/$name" ] || cp -r "$source_dir/examples/$name" "$work/$name"
  if ! { cmake -S "$work/$name" -B "$work/$name/build" -DCMAKE_PREFIX_PATH="$work/prefix" &&
         cmake --build "$work/$name/build" -j"$jobs"; } >"$work/$name.log" 2>&1; then
    echo "FAIL $name: does not build against the installed package"
    tail -20 "$work/$name.log"
    failures=$((failures + 1))
    continue
  fi
  # For the page: the emscripten toolchain looks for packages in its own root only, so the
  # package is named by its folder.
  if [ -n "$web_build" ] && [ -f "$source_dir/examples/$name/CMakeLists.txt" ]; then
    if { emcmake cmake -S "$work/$name" -B "$work/$name/web" \
           -DCopperbramble_DIR="$work/web-prefix/lib/cmake/Copperbramble" &&
         cmake --build "$work/$name/web" -j"$jobs"; } >"$work/$name-web.log" 2>&1 &&
       [ -f "$work/$name/web/$name-web.wasm" ] && [ -f "$work/$name/web/index.html" ]; then
      echo "ok   $name-web: built with its page against the installed page package"
    else
      echo "FAIL $name-web: does not build against the installed page package"
      tail -20 "$work/$name-web.log"
      failures=$((failures + 1))
    fi
  fi
  for way in simulated desktop; do
    way_keys=$keys
    [ "$way" = simulated ] && way_keys=$(later "$keys")
    # shellcheck disable=SC2086
    if ! (cd "$work" && "$work/$name/build/$name-$way" --headless --keys "$way_keys" $options \
            --frame-digests "$work/$name-$way.txt") >"$work/$name-$way.log" 2>&1; then
      echo "FAIL $name-$way: exit status non-zero"
      tail -5 "$work/$name-$way.log"
      failures=$((failures + 1))
    fi
  done
  frames=$(wc -l <"$work/$name-simulated.txt")
  if [ "$frames" -lt 10 ]; then
    echo "FAIL $name: only $frames painted frames"
    failures=$((failures + 1))
  elif ! cmp -s "$work/$name-simulated.txt" "$work/$name-desktop.txt"; then
    echo "FAIL $name: the simulated console and the desktop painted different frames"
    diff "$work/$name-simulated.txt" "$work/$name-desktop.txt" | head -5 || true
    failures=$((failures + 1))
  else
    echo "ok   $name: $frames painted frames the same on both back ends"
  fi
done
# The pkg-config file builds the desktop program as well, and it paints what CMake's build paints.
export PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig"
# shellcheck disable=SC2046
if c++ -std=c++20 -o "$work/first_screen-pkgconfig" "$source_dir/examples/first_screen/first_screen.cpp" \
     $(pkg-config --cflags --libs copperbramble-desktop) >"$work/pkgconfig.log" 2>&1 &&
   (cd "$work" && ./first_screen-pkgconfig --headless --keys 400:A/300,900:Left/200,1600:Start \
      --frame-digests "$work/first_screen-pkgconfig.txt") >>"$work/pkgconfig.log" 2>&1 &&
   cmp -s "$work/first_screen-pkgconfig.txt" "$work/first_screen-desktop.txt"; then
  echo "ok   first_screen built with pkg-config paints the same frames"
else
  echo "FAIL first_screen with pkg-config"
  tail -5 "$work/pkgconfig.log"
  failures=$((failures + 1))
fi
exit $((failures > 0))
