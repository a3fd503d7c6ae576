#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# usage: install-deps.sh [PRESET...]; a 32-bit preset (m32, m32-container) among
# them adds the i386 libraries its build links (and the i386 architecture); a
# Windows preset (mingw64, mingw32) the MinGW-w64 compilers, the target's zlib
# and what scripts/target-deps.sh needs; mingw64 also the 64-bit Wine that runs
# its tests. "wine32" stands for the 32-bit Wine that runs mingw32's tests (an
# i386 package, so it adds the i386 architecture too); "host-sdk-check" for
# what scripts/check-host-sdk.sh needs (both MinGW-w64 compilers and wine64);
# "gltf-validator" for Node.js and npm, which scripts/gltf-validator.sh uses.
#
# A package index that fails to download (a mirror in the middle of a sync) is
# only a warning: the lists already present may still hold every package. The
# script fails, naming the packages, only when the installation itself fails.
set -euo pipefail
packages=(cmake ninja-build g++ clang zlib1g-dev libdeflate-dev qtbase5-dev qtscript5-dev
          libgtest-dev libbenchmark-dev nlohmann-json3-dev libassimp-dev assimp-testmodels)
mingw_packages=(mingw-w64 libz-mingw-w64-dev dpkg-dev)
need_i386=0
for preset in "$@"; do
  case "$preset" in
    m32*)
      need_i386=1
      packages+=(g++-multilib zlib1g-dev:i386 libdeflate-dev:i386 libgtest-dev:i386)
      ;;
    mingw64) packages+=("${mingw_packages[@]}" wine64) ;;
    mingw32) packages+=("${mingw_packages[@]}") ;;
    wine32)
      need_i386=1
      packages+=(wine32:i386)
      ;;
    host-sdk-check) packages+=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64) ;;
    gltf-validator) packages+=(nodejs npm) ;;
  esac
done
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
# A package installed for two architectures must be asked for with the native one.
installed() {
  dpkg -s "$1" >/dev/null 2>&1 || dpkg -s "$1:$(dpkg --print-architecture)" >/dev/null 2>&1
}
missing=()
for p in "${packages[@]}"; do
  installed "$p" || [[ " ${missing[*]} " == *" $p "* ]] || missing+=("$p")
done
[ ${#missing[@]} -gt 0 ] || exit 0

added_i386=0
if [ "$need_i386" -eq 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo_cmd dpkg --add-architecture i386
  added_i386=1
fi
echo "installing: ${missing[*]}"
if ! $sudo_cmd apt-get update -qq; then
  echo "install-deps: warning: 'apt-get update' failed; installing from the package lists present" >&2
fi
if ! DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null; then
  echo "install-deps: cannot install: ${missing[*]}" >&2
  # An i386 architecture added for nothing would make every later update
  # fetch its (possibly broken) index; take it back when nothing uses it.
  if [ "$added_i386" -eq 1 ]; then
    $sudo_cmd dpkg --remove-architecture i386 >/dev/null 2>&1 || true
  fi
  exit 1
fi
