#!/usr/bin/env bash
# bench/console_cost.sh [--tv lcd|ntsc|pal] [--keys LIST] [--csv FILE]: what each frame of the demo
# costs the console's CPU, a 200 MHz ARM920T with 20 ms a frame. Builds what it needs (the PC's
# tree for the data and the qemu-arm plugin, the ARM tree for copperbramble-sim), runs the whole
# demo as ARM code on the simulated console under qemu-arm with the console-cost plugin, and
# summarises the frames by what they show: the intro, the volume overlay, the pause menu; the
# start-up with the loading screen and the end are totals apart. The default keys show the
# overlay (volume up and down) and the menu (opened, an item on and back, closed); --keys ''
# presses none. Also shows where the costliest frame's cycles go. The last line is the summary of
# the intro's, overlay's and menu's frames.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
tv=lcd
keys=20000:VolUp,23000:VolDown,40000:Start,41500:Left,43000:Right,44500:Start
csv=
while [ $# -gt 0 ]; do
  case "$1" in
    --tv) tv=$2; shift 2 ;;
    --keys) keys=$2; shift 2 ;;
    --csv) csv=$(realpath -m "$2"); shift 2 ;;
    *) echo "usage: bench/console_cost.sh [--tv lcd|ntsc|pal] [--keys LIST] [--csv FILE]" >&2; exit 2 ;;
  esac
done
case "$tv" in lcd | ntsc | pal) ;; *) echo "--tv wants lcd, ntsc or pal" >&2; exit 2 ;; esac

source tools/packages.sh
cb_install_packages "${CB_BUILD_PACKAGES[@]}" "${CB_ARM_PACKAGES[@]}" python3
export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER-ccache}
export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER-ccache}
command -v ccache >/dev/null || unset CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER
jobs=$(nproc)
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target cb_console_cost_plugin cb_resource_data cb_music_data -j"$jobs" >/dev/null
[ -f build-arm/CMakeCache.txt ] ||
  cmake -S . -B build-arm --no-warn-unused-cli -DCMAKE_TOOLCHAIN_FILE=cmake/arm-linux-gnueabi.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-arm --target copperbramble-sim -j"$jobs" >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
arm-linux-gnueabi-nm -S --defined-only build-arm/copperbramble-sim >"$work/symbols"
python3 tools/console-cost/code_map.py build-arm/copperbramble-sim.map "$work/symbols" >"$work/map"
frames=${csv:-$work/frames.csv}
echo "Running the demo on $tv as ARM code under qemu-arm with the console-cost plugin ..."
plugin="build/console_cost.so,map=$work/map,csv=$frames,digests=$work/digests"
qemu-arm -cpu arm926 -plugin "$plugin,totals=$work/totals,profile=$work/profile" \
  build-arm/copperbramble-sim --headless --tv "$tv" ${keys:+--keys "$keys"} --no-progress \
  --demo-stills 0 --frames "$work/stills" --frame-digests "$work/digests" --data build/data \
  >"$work/log" 2>&1 || { cat "$work/log" >&2; exit 1; }

# Columns: frame, phase, demo_ms, instructions, cycles, core_cycles, icache_misses, dcache_misses,
# mixer_instructions, mixer_cycles, idle_instructions, idle_cycles, softfloat_calls,
# softfloat_instructions.
echo "Where the cycles of the costliest painted or menu frame go (code by object):"
head -n 13 "$work/profile"
sort -t, -k5,5n "$frames" | awk -F, -v tv="$tv" -v date="$(date -u +%Y-%m-%d)" '
  $1 == "frame" { next }
  {
    phase = $2
    count[phase]++
    cycles[phase, count[phase]] = $5
    sum[phase] += $5
    mixer[phase] += $10
    soft[phase] += $13
    if ($5 >= worst[phase]) { worst[phase] = $5; worstAt[phase] = $3 }
    if (phase == "intro" || phase == "overlay" || phase == "menu") {
      all++
      allCycles[all] = $5
      allSum += $5
      allMixer += $10
      if ($5 >= allWorst) allWorst = $5
    }
  }
  function p99(n, list,    at) { at = int(n * 0.99 + 0.999); return at < 1 ? 0 : list[at] }
  END {
    printf "%s, %s: frames by what they show (estimated ARM920T cycles a frame; 20 ms at 200 MHz is 4,000,000)\n", date, tv
    printf "%-8s %7s %12s %10s %12s %12s %8s %10s\n", "part", "frames", "worst", "at ms", "p99", "mean", "mixer", "soft-float"
    split("intro overlay menu", order, " ")
    for (i = 1; i <= 3; i++) {
      phase = order[i]
      n = count[phase]
      if (!n) { printf "%-8s %7d\n", phase, 0; continue }
      for (k = 1; k <= n; k++) list[k] = cycles[phase, k]
      printf "%-8s %7d %12d %10d %12d %12d %7.1f%% %10d\n", phase, n, worst[phase], worstAt[phase],
        p99(n, list), sum[phase] / n, 100 * mixer[phase] / sum[phase], soft[phase]
    }
    printf "start-up and loading screen: %d frames, %d cycles in all (%d soft-float calls)\n",
      count["startup"], sum["startup"], soft["startup"]
    printf "end: %d frames, %d cycles in all\n", count["end"], sum["end"]
    if (!all) { print "console cost: no frame of the intro, overlay or menu was seen"; exit 1 }
    printf "console cost: worst frame %d cycles (%.1f %% of 20 ms at 200 MHz), p99 %d, mean %d, mixer %.1f %%\n",
      allWorst, 100 * allWorst / 4000000, p99(all, allCycles), allSum / all, 100 * allMixer / allSum
  }'
