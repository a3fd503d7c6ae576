#!/usr/bin/env bash
# Builds and tests PRESET through scripts/test.sh when its packages can be
# installed; when they cannot (a 32-bit preset whose i386 index is stale, say)
# prints one line saying the preset was skipped and why, and succeeds. A
# preset whose tests need a runner of their own (mingw32: the 32-bit Wine) is
# built even when that runner cannot be installed; one line then says that its
# tests were skipped and why. A preset whose packages install but whose build
# or tests fail still fails.
# usage: optional-preset.sh PRESET
set -euo pipefail
cd "$(dirname "$0")/.."
preset="$1"
# The reason install-deps.sh gives for packages it cannot install.
cannot_install() { # WHAT...
  local reason
  reason="$(bash scripts/install-deps.sh "$@" 2>&1 >/dev/null)" && return 1
  reason="$(printf '%s' "$reason" | grep 'cannot install' | tail -n 1)"
  printf '%s' "${reason#install-deps: }"
}
if reason="$(cannot_install "$preset")"; then
  echo "skipped the $preset check: its packages cannot be installed here ($reason)"
  exit 0
fi
runner=""
case "$preset" in
  mingw32) runner=wine32 ;;
esac
if [ -n "$runner" ] && reason="$(cannot_install "$runner")"; then
  bash scripts/test.sh --build-only "$preset"
  echo "skipped the $preset run: built, but $runner, which runs its tests, cannot be installed here ($reason)"
  exit 0
fi
exec bash scripts/test.sh "$preset"
