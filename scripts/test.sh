#!/usr/bin/env bash
# Builds and runs every test, in the default preset and under ASan + UBSan.
# usage: test.sh [--build-only] [PRESET...]
# A Windows preset (mingw64, mingw32) first builds its target's libraries into
# its build folder (scripts/target-deps.sh; reused when present) and runs its
# suites under Wine; it reports how many tests ran there. --build-only builds
# and installs only what the builds need.
set -euo pipefail
cd "$(dirname "$0")/.."
build_only=0
if [ "${1:-}" = "--build-only" ]; then
  build_only=1
  shift
fi
presets=("${@:-default asan}")
# What the presets' builds need, and what runs their tests: the 32-bit Wine
# for mingw32.
needs=(${presets[*]})
if [ "$build_only" -eq 0 ] && [[ " ${presets[*]} " == *" mingw32 "* ]]; then
  needs+=(wine32)
fi
bash scripts/install-deps.sh ${needs[*]}
for preset in ${presets[*]}; do
  echo "== preset $preset"
  case "$preset" in
    mingw*) bash scripts/target-deps.sh "cmake/$preset.cmake" "build/$preset/deps" ;;
  esac
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  [ "$build_only" -eq 0 ] || continue
  ctest --preset "$preset" --no-tests=error
  reports="build/$preset/test-reports"
  if [ -d "$reports" ]; then
    # The emulated suites' own reports (cmake/YfxEmulatedTest.cmake).
    total=0
    skipped=0
    for report in "$reports"/*.xml; do
      n="$(sed -n 's/.*<testsuites tests="\([0-9]*\)".*/\1/p' "$report" | head -n 1)"
      total=$((total + ${n:-0}))
      skipped=$((skipped + $(grep -c 'result="skipped"' "$report" || true)))
    done
    echo "== preset $preset: $total tests ran under the emulator, $skipped of them skipped"
  fi
done
