#!/usr/bin/env bash
# tools/qemu_plugin_header.sh DIR: puts the TCG plugin interface, qemu-plugin.h from Debian's qemu
# source package, at DIR/include/qemu-plugin.h. The package is fetched once into DIR by
# tools/debian_source.sh; only that one header is taken from it.
set -euo pipefail
dir=$(realpath -m "$1")
header="$dir/include/qemu-plugin.h"
[ -f "$header" ] && exit 0
"$(dirname "$0")/debian_source.sh" qemu "$dir"
tarball=$(ls "$dir"/download/qemu_*.orig.tar.* | tail -n 1)
mkdir -p "$dir/include"
tar -xOf "$tarball" --wildcards '*/include/qemu/qemu-plugin.h' >"$header.part"
mv "$header.part" "$header"
