#!/usr/bin/env bash
# The main job: build the yfx tool, let it write its built-in sample scene as
# a project file, then inspect, dump and convert that file (to version 31 and
# to version 9) and validate all three. Then export the built-in demo scene
# through the plug-in's exporter, inspect, dump and validate the result and
# print the export's log; import it back through the plug-in's importer with
# joints and animation and print the scene it built.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target yfx
yfx=./build/default/tools/yfx/yfx
out=build/default/main-job
mkdir -p "$out"
"$yfx" --help
"$yfx" sample "$out/sample.yfx"
"$yfx" info "$out/sample.yfx"
"$yfx" dump "$out/sample.yfx"
"$yfx" dump --json "$out/sample.yfx" >"$out/sample.json"
"$yfx" convert "$out/sample.yfx" "$out/converted.yfx"
"$yfx" convert --v2 "$out/sample.yfx" "$out/converted_v9.yfx"
"$yfx" info "$out/converted_v9.yfx"
"$yfx" validate "$out/sample.yfx" "$out/converted.yfx" "$out/converted_v9.yfx"
"$yfx" dump --json "$out/converted.yfx" >"$out/converted.json"
if cmp -s "$out/sample.json" "$out/converted.json"; then
  echo "convert kept the whole document (dump --json of both files is identical)"
else
  echo "convert changed the document:" >&2
  diff "$out/sample.json" "$out/converted.json" >&2 || true
  exit 1
fi
"$yfx" export --demo "$out/demo.yfx"
"$yfx" info "$out/demo.yfx"
"$yfx" dump "$out/demo.yfx"
"$yfx" validate "$out/demo.yfx"
cat "$out/logfile.txt"
"$yfx" import --joints --animation "$out/demo.yfx"
