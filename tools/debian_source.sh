#!/usr/bin/env bash
# tools/debian_source.sh PACKAGE DIR: downloads Debian's source package PACKAGE (its .dsc and
# tarballs, checked against the archive's signed index) into DIR/download with apt-get source
# through a private apt configuration under DIR/apt, so the machine's own package sources, lists
# and architectures stay untouched. Fetched once: later runs find the download and do nothing.
set -euo pipefail
package=$1
dir=$(realpath -m "$2")
ls "$dir"/download/"${package}"_*.dsc >/dev/null 2>&1 && exit 0

apt_dir="$dir/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/parts" "$dir/download"

# The machine's own Debian mirror and release, for the one deb-src line of the private list.
release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
[ -n "$release" ] || { echo "debian_source.sh: cannot tell this machine's Debian release" >&2; exit 1; }
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

echo "Fetching Debian's $package source package ..."
apt-get "${apt_options[@]}" -qq update
(cd "$dir/download" && apt-get "${apt_options[@]}" -qq source --download-only "$package")
