#!/usr/bin/env bash
# The demo scene exported by the tool and converted to glTF and to GLB, both
# checked by the Khronos glTF validator: no errors and every image one it
# recognises (tests/scripts/gltf_validate.js).
# usage: gltf_validator_test.sh YFX NODE VALIDATOR_FOLDER WORK_FOLDER
set -euo pipefail
yfx="$1"
node="$2"
validator="$3"
work="$4"
rm -rf "$work"
mkdir -p "$work/gltf" "$work/glb"
run() { # LOG ARGS...: the tool, its output kept in LOG and shown when it fails
  local log="$1"
  shift
  if ! "$yfx" "$@" >"$log" 2>&1; then
    cat "$log"
    echo "FAILED: yfx $*" >&2
    exit 1
  fi
}
run "$work/export.log" export --demo "$work/demo.yfx"
run "$work/gltf.log" convert "$work/demo.yfx" "$work/gltf/demo.gltf"
run "$work/glb.log" convert "$work/demo.yfx" "$work/glb/demo.glb"
"$node" "$(dirname "$0")/gltf_validate.js" "$validator" "$work/gltf/demo.gltf" "$work/glb/demo.glb"
