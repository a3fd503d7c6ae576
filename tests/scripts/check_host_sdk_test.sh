#!/usr/bin/env bash
# The host SDK check without the SDK: it fails before installing or compiling
# anything, saying where the SDK is expected.
set -uo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
YFX_HOST_SDK_CHECK_DIR="$work/no-sdk" bash "$repo/scripts/check-host-sdk.sh" >"$work/out" 2>&1
status=$?
if [ "$status" -ne 1 ] || ! grep -q "the host SDK 4.5 is expected in $work/no-sdk" "$work/out"; then
  echo "FAILED: a missing SDK gives status $status and:" >&2
  cat "$work/out" >&2
  exit 1
fi
