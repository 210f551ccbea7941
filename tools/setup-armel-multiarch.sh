#!/usr/bin/env bash
# tools/setup-armel-multiarch.sh: lets the console's ARM build (build-arm) link copperbramble with
# Debian's toolchain: adds the armel package architecture to this machine and installs the ARM
# build of SDL 1.2 beside the host's, with the cross compilers and qemu-arm (the tree builds its
# own libmikmod). Changes
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
# An armel library must be the very version of its host twin already installed; apt refuses when
# the host's are older than the archive's.
if ! cb_install_packages "${CB_ARM_PACKAGES[@]}" libsdl1.2-compat-dev:armel; then
  echo "apt could not install the armel library. It must be the same versions as this machine's" >&2
  echo "own: bring its packages up to date (apt-get upgrade) and run this script again." >&2
  exit 1
fi
echo "Done: configure build-arm again (cmake -S . -B build-arm -DCMAKE_TOOLCHAIN_FILE=cmake/arm-linux-gnueabi.cmake) to build copperbramble."
