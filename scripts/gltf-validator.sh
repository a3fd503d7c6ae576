#!/usr/bin/env bash
# Installs the Khronos glTF validator, the npm package gltf-validator at the
# version below, into BUILD_FOLDER/gltf-validator (default build/default),
# where the build finds it and adds the gltf_validator test; reused while its
# version stays the same. Node.js and npm come from Debian when missing. Fails,
# saying so, when the validator cannot be installed. Not part of the README's
# commands: only CI (.ci/run) needs it.
# usage: gltf-validator.sh [BUILD_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
version=2.0.0-dev.3.10
target="${1:-build/default}/gltf-validator"
fail() {
  echo "gltf-validator: $*; the glTF validation test cannot run" >&2
  exit 1
}
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  bash scripts/install-deps.sh gltf-validator || fail "cannot install Node.js and npm"
fi
manifest="$target/node_modules/gltf-validator/package.json"
if [ -f "$manifest" ] &&
   [ "$(node -p "require(process.argv[1]).version" "$(realpath "$manifest")" 2>/dev/null)" = "$version" ]; then
  exit 0
fi
mkdir -p "$target"
log="$target/npm-install.log"
if ! npm install --prefix "$target" --no-audit --no-fund --save-exact \
     "gltf-validator@$version" >"$log" 2>&1; then
  tail -n 5 "$log" >&2
  fail "cannot install gltf-validator@$version with npm into $target (the whole output is in $log)"
fi
echo "gltf-validator: gltf-validator@$version installed in $target"
