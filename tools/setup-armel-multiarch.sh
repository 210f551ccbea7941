#!/usr/bin/env bash
# tools/setup-armel-multiarch.sh: lets the console's ARM build (build-arm) link copperbramble with
# Debian's toolchain: adds the armel package architecture to this machine and installs the ARM
# builds of SDL 1.2 and libmikmod beside the host's, with the cross compilers and qemu-arm. Changes
# the machine's package architectures, so it runs only when asked; ./test never runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)

if ! dpkg --print-foreign-architectures | grep -qx armel; then
  echo "Adding the armel package architecture ..."
  "${sudo[@]}" dpkg --add-architecture armel
  "${sudo[@]}" apt-get update -qq
fi
cb_install_packages "${CB_ARM_PACKAGES[@]}" libsdl1.2-compat-dev:armel libmikmod-dev:armel
echo "Done: configure build-arm again (cmake -S . -B build-arm -DCMAKE_TOOLCHAIN_FILE=cmake/arm-linux-gnueabi.cmake) to build copperbramble."
