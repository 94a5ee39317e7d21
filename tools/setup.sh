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

# A mirror in the middle of a sync serves index files of the wrong size for a while; asking again
# later gets a whole set.
attempts=3
retry() {
  local try
  for ((try = 1; try <= attempts; try++)); do
    "$@" && return 0
    [ "$try" -lt "$attempts" ] || break
    echo "setup: '$*' failed (try $try of $attempts); trying again in $((try * 15)) s" >&2
    sleep $((try * 15))
  done
  return 1
}
# An index that still fails to come may be one that nothing here needs: the install says.
retry apt-get update -qq || echo "setup: going on with the package indexes that did come" >&2
host_missing=() i386_missing=()
for p in "${missing[@]}"; do
  if [[ $p == *:i386 ]]; then i386_missing+=("$p"); else host_missing+=("$p"); fi
done
[ ${#host_missing[@]} -eq 0 ] || retry apt-get install -y -qq "${host_missing[@]}" >/dev/null
# Without the 32-bit Wine the 64-bit build is still built and tested whole; the 32-bit one is
# built and left untested, and said so (tools/can_run_i386.sh --installed tells the rest).
if [ ${#i386_missing[@]} -gt 0 ] && ! retry apt-get install -y -qq "${i386_missing[@]}" >/dev/null; then
  echo "setup: WARNING: ${i386_missing[*]} could not be installed: the end-to-end tests, run," \
       "bench and soak use the 64-bit build alone on this machine" >&2
fi
