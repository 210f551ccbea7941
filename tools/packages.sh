# tools/packages.sh: installs the Debian packages Copperbramble needs, only those missing, with
# sudo when not root. Sourced by ./run and ./test: cb_install_packages PACKAGE...
cb_install_packages() {
  local missing=()
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "Installing ${missing[*]} ..."
  "${sudo[@]}" apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
      "${missing[@]}" >/dev/null
}

# What the program, its data tools, the tests and the benchmarks build with; the ARM binutils
# assemble the second core's program, the ARM emulator runs it on the simulated console, libzvbi
# decodes the captions its television shows; xz-utils unpacks the plugin header from Debian's qemu
# source package.
CB_BUILD_PACKAGES=(cmake g++ make pkg-config libsdl1.2-compat-dev libmikmod-dev libgtest-dev
  libbenchmark-dev libyuv-dev libspng-dev binutils-arm-none-eabi libunicorn-dev libzvbi-dev xz-utils)

# The console's build: the ARM cross compilers, qemu-arm to run its programs, and dpkg-source to
# unpack Debian's libmikmod source package, which the build compiles for ARM.
CB_ARM_PACKAGES=(gcc-arm-linux-gnueabi g++-arm-linux-gnueabi qemu-user dpkg-dev xz-utils)

# The web page's build: emscripten, and dpkg-source to unpack Debian's libmikmod source package,
# which the build compiles to WebAssembly.
CB_WEB_PACKAGES=(emscripten dpkg-dev xz-utils python3)

# The web version's browser test: Debian's Chromium, driven through its DevTools protocol from
# Debian's Python with its WebSocket client.
CB_WEB_TEST_PACKAGES=(chromium python3-websocket)
