#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# usage: install-deps.sh [PRESET...]; a 32-bit preset (m32, m32-container) among
# them adds the i386 libraries its build links (and the i386 architecture).
set -euo pipefail
packages=(cmake ninja-build g++ clang zlib1g-dev libdeflate-dev qtbase5-dev qtscript5-dev
          libgtest-dev libbenchmark-dev nlohmann-json3-dev libassimp-dev assimp-testmodels)
need_i386=0
for preset in "$@"; do
  case "$preset" in
    m32*) need_i386=1 ;;
  esac
done
if [ "$need_i386" -eq 1 ]; then
  packages+=(g++-multilib zlib1g-dev:i386 libdeflate-dev:i386 libgtest-dev:i386)
fi
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
if [ "$need_i386" -eq 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo_cmd dpkg --add-architecture i386
fi
# A package installed for two architectures must be asked for with the native one.
installed() {
  dpkg -s "$1" >/dev/null 2>&1 || dpkg -s "$1:$(dpkg --print-architecture)" >/dev/null 2>&1
}
missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi
