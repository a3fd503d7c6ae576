#!/usr/bin/env bash
# The main job: build the yfx tool and run it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target yfx
./build/default/tools/yfx/yfx --help
