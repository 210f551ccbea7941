#!/usr/bin/env bash
# build_console_examples.sh ARM_BUILD [JOBS]: installs the console's build ARM_BUILD into a
# temporary prefix and builds every example of examples/, copied out of the source tree, against
# it with the same toolchain file: each must give its console program, ARM code for the console.
# The programs are never run here: the console's flavour maps physical memory.
set -euo pipefail
build=$(realpath "$1")
jobs=${2:-2}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >"$work/install.log"
failures=0
for example in "$source_dir"/examples/*/; do
  name=$(basename "$example")
  cp -r "$example" "$work/$name"
  program="$work/$name/build/$name-console"
  if { cmake -S "$work/$name" -B "$work/$name/build" --no-warn-unused-cli \
         -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/arm-linux-gnueabi.cmake" \
         -DCMAKE_PREFIX_PATH="$work/prefix" &&
       cmake --build "$work/$name/build" -j"$jobs"; } >"$work/$name.log" 2>&1 &&
     [ -f "$program" ] && readelf -h "$program" | grep -q "Machine: *ARM$"; then
    echo "ok   $name-console: built for the console against the installed package"
  else
    echo "FAIL $name-console: no console program built against the installed package"
    tail -20 "$work/$name.log"
    failures=$((failures + 1))
  fi
done
exit $((failures > 0))
