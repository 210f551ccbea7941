#!/usr/bin/env bash
# tools/web/libmikmod.sh DIR: builds Debian's libmikmod for WebAssembly into DIR/install (a static
# library and its header, no output drivers of its own). The source package is fetched once into
# DIR with apt-get source through a private apt configuration under DIR, so the machine's own
# package sources and lists stay untouched; later runs reuse the download and the build.
set -euo pipefail
dir=$(realpath -m "$1")
install="$dir/install"
[ -f "$install/lib/libmikmod.a" ] && [ -f "$install/include/mikmod.h" ] && exit 0

apt_dir="$dir/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/parts" "$dir/download"

# The machine's own Debian mirror and release, for the one deb-src line of the private list.
release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
[ -n "$release" ] || { echo "libmikmod.sh: cannot tell this machine's Debian release" >&2; exit 1; }
mirror=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null |
  awk '/^URIs:/ { for (i = 2; i <= NF; i++) if ($i ~ /\/debian\/?$/) { print $i; exit } }')
if [ -z "$mirror" ]; then
  mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
    awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /\/debian\/?$/) { print $i; exit } }')
fi
mirror=${mirror:-http://deb.debian.org/debian}
echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $release main" \
  >"$apt_dir/sources.list"

apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/parts"
  -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
  -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache=" -o "APT::Sandbox::User=$(id -un)")

if ! ls "$dir"/download/libmikmod_*.dsc >/dev/null 2>&1; then
  echo "Fetching Debian's libmikmod source package ..."
  apt-get "${apt_options[@]}" -qq update
  (cd "$dir/download" && apt-get "${apt_options[@]}" -qq source --download-only libmikmod)
fi

source_dir="$dir/source"
# apt-get checked the downloaded files against the archive's signed index.
if [ ! -f "$source_dir/CMakeLists.txt" ]; then
  rm -rf "$source_dir"
  dpkg-source --no-check -x "$(ls "$dir"/download/libmikmod_*.dsc | tail -n 1)" "$source_dir" >/dev/null
fi

# Only the software mixer and the loaders: the program brings its own output.
echo "Building libmikmod for WebAssembly ..."
drivers_off=()
for driver in ALSA OSS PULSE ESD NAS AF SNDIO SUNAUDIO AIX HPUX OPENAL SDL STDOUT PIPE AIFF WAV RAW; do
  drivers_off+=("-DENABLE_$driver=0")
done
emcmake cmake -S "$source_dir" -B "$dir/build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$install" -DENABLE_THREADS=0 -DENABLE_DL=0 -DENABLE_RPATH=0 \
  -DENABLE_STATIC=1 -DENABLE_SIMD=0 "${drivers_off[@]}" -Wno-dev \
  >"$dir/configure.log" 2>&1 || { cat "$dir/configure.log" >&2; exit 1; }
cmake --build "$dir/build" --target mikmod-static -j2 >"$dir/build.log" 2>&1 ||
  { cat "$dir/build.log" >&2; exit 1; }
mkdir -p "$install/lib" "$install/include"
cp "$dir/build/libmikmod.a" "$install/lib/"
cp "$source_dir/include/mikmod.h" "$install/include/"
