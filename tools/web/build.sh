#!/usr/bin/env bash
# tools/web/build.sh: builds the demo for a web page into build-web/site: copperbramble-web.js,
# .wasm and .data (resource.dat and main.it, made by the PC's build in build/), and the page of
# hosts/web/page. libmikmod is built for WebAssembly from Debian's source package in
# build-web/libmikmod.
# Installs missing Debian packages first.
set -euo pipefail
cd "$(dirname "$0")/../.."
source tools/packages.sh
cb_install_packages "${CB_BUILD_PACKAGES[@]}" "${CB_WEB_PACKAGES[@]}"
jobs=$(nproc)
out=$(pwd)/build-web

# The data files come from our own tools, built on the PC as ./run and ./test build them.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target cb_resource_data cb_music_data -j"$jobs" >/dev/null

# emscripten's JavaScript tools need Debian's node modules, whatever node is first on the path.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
tools/libmikmod.sh web "$out/libmikmod"

echo "Building copperbramble-web ..."
emcmake cmake -S . -B "$out/wasm" -DCMAKE_BUILD_TYPE=Release \
  -DCB_WEB_MIKMOD_DIR="$out/libmikmod/install" -DCB_WEB_DATA_DIR="$(pwd)/build/data" \
  -DCB_WEB_SITE_DIR="$out/site" >"$out/configure.log" 2>&1 ||
  { cat "$out/configure.log" >&2; exit 1; }
cmake --build "$out/wasm" -j"$jobs"
