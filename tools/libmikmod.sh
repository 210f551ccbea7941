#!/usr/bin/env bash
# tools/libmikmod.sh web|arm DIR: builds Debian's libmikmod into DIR/install (a static library and
# its header) for WebAssembly with emscripten, or for the console's
# CPU with the cross compilers of cmake/arm-linux-gnueabi.cmake (-march=armv4t -mtune=arm920t
# -marm). The page brings its own output; the console's build keeps the Open Sound System driver
# for the console's sound device. The source package is fetched once into DIR by tools/debian_source.sh; later runs reuse
# the download and the build.
set -euo pipefail
target=$1
dir=$(realpath -m "$2")
root=$(realpath "$(dirname "$0")/..")
install="$dir/install"
drivers_off=(ALSA PULSE ESD NAS AF SNDIO SUNAUDIO AIX HPUX OPENAL SDL STDOUT PIPE AIFF WAV RAW)
case "$target" in
  web) configure=(emcmake cmake)
       drivers_off+=(OSS) ;;
  arm) configure=(cmake -DCMAKE_TOOLCHAIN_FILE="$root/cmake/arm-linux-gnueabi.cmake" --no-warn-unused-cli) ;;
  *) echo "usage: tools/libmikmod.sh web|arm DIR" >&2; exit 2 ;;
esac
# A build with other drivers is made again.
drivers_stamp="drivers off: ${drivers_off[*]}"
[ -f "$install/lib/libmikmod.a" ] && [ -f "$install/include/mikmod.h" ] &&
  [ "$(cat "$install/drivers" 2>/dev/null)" = "$drivers_stamp" ] && exit 0

"$root/tools/debian_source.sh" libmikmod "$dir"
source_dir="$dir/source"
# apt-get checked the downloaded files against the archive's signed index.
if [ ! -f "$source_dir/CMakeLists.txt" ]; then
  rm -rf "$source_dir"
  dpkg-source --no-check -x "$(ls "$dir"/download/libmikmod_*.dsc | tail -n 1)" "$source_dir" >/dev/null
fi

echo "Building libmikmod for $target ..."
rm -rf "$dir/build"
driver_options=()
for driver in "${drivers_off[@]}"; do
  driver_options+=("-DENABLE_$driver=0")
done
"${configure[@]}" -S "$source_dir" -B "$dir/build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$install" -DENABLE_THREADS=0 -DENABLE_DL=0 -DENABLE_RPATH=0 \
  -DENABLE_STATIC=1 -DENABLE_SIMD=0 "${driver_options[@]}" -Wno-dev \
  >"$dir/configure.log" 2>&1 || { cat "$dir/configure.log" >&2; exit 1; }
cmake --build "$dir/build" --target mikmod-static -j2 >"$dir/build.log" 2>&1 ||
  { cat "$dir/build.log" >&2; exit 1; }
mkdir -p "$install/lib" "$install/include"
cp "$dir/build/libmikmod.a" "$install/lib/"
cp "$source_dir/include/mikmod.h" "$install/include/"
echo "$drivers_stamp" >"$install/drivers"
