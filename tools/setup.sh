#!/usr/bin/env bash
# Installs the Debian packages that building and testing WordHatch need.
# Idempotent: asks apt only for what is missing, so a ready machine returns at once.
# Both Windows builds are always compiled; the 32-bit Wine (wine32:i386) is installed only where
# this machine can execute i386 code (tools/can_run_i386.sh). Where it cannot, nothing calls it.
set -euo pipefail
cd "$(dirname "$0")"

host_packages=(g++ cmake make libgtest-dev python3
               g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
               g++-mingw-w64-x86-64 mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
               xvfb x11-xkb-utils xdotool x11-utils imagemagick wine wine64
               clang libclang-rt-14-dev)
i386_packages=()
if ./can_run_i386.sh >/dev/null; then
  i386_packages=(wine32:i386)
fi

missing=()
for p in "${host_packages[@]}" "${i386_packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "setup: must run as root to install packages (apt-get)" >&2
  exit 1
fi
if [ ${#i386_packages[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null
