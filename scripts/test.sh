#!/usr/bin/env bash
# Builds and runs every test, in the default preset and under ASan + UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
presets=("${@:-default asan}")
bash scripts/install-deps.sh ${presets[*]}
for preset in ${presets[*]}; do
  echo "== preset $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
