#!/usr/bin/env bash
# Checks the host-facing code (plugin/, export/, import/) against the real host
# SDK 4.5 and the Qt 4.8.1 that ships inside it, as far as this machine allows:
#  1. every source compiles (syntax only) for Windows x64 and x86 with MinGW-w64
#     g++ against the SDK's headers, with the defines a Qt 4 module build uses;
#  2. the SDK's own Qt 4 moc (a Windows program, run under Wine) accepts every
#     Q_OBJECT header of plugin/, and what it writes compiles the same way;
#  3. the module's heap routing (plugin/host_heap_win.cpp) sends the module's
#     allocations to the C runtime of a fake dzcore.dll, run under Wine (x64).
# Nothing links against the SDK: its libraries are Visual Studio import libraries.
#
# The SDK is not part of the repository (its licence forbids copying it); it is
# expected beside the clone, in ../shared/host-sdk-4.5 (include/, bin/x64/moc.exe),
# or wherever YFX_HOST_SDK_CHECK_DIR points. A missing SDK fails the check.
# Scratch files go to build/host-sdk-check/ (the Wine prefix is kept there).
# usage: check-host-sdk.sh
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
sdk="${YFX_HOST_SDK_CHECK_DIR:-$repo/../shared/host-sdk-4.5}"
jobs="${YFX_CHECK_JOBS:-2}"

if [ ! -d "$sdk/include" ] || [ ! -f "$sdk/include/dzplugin.h" ] || [ ! -f "$sdk/bin/x64/moc.exe" ]; then
  echo "check-host-sdk: the host SDK 4.5 is expected in $sdk" \
       "(include/ with dz*.h and the SDK's Qt 4.8.1 headers, bin/x64/moc.exe); it is not there" >&2
  exit 1
fi
sdk="$(cd "$sdk" && pwd)"

# MinGW-w64 for both targets and 64-bit Wine for moc (a failed index update
# is only a warning there).
bash "$repo/scripts/install-deps.sh" host-sdk-check
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"

work="$repo/build/host-sdk-check"
rm -rf "$work/moc" "$work/logs"
mkdir -p "$work/moc" "$work/logs" "$work/wine"

cd "$repo"
# 1. The sources.
sources=()
for dir in plugin export import; do
  for f in "$dir"/*.cpp; do
    sources+=("$f")
  done
done

# 2. moc on every Q_OBJECT header; -f makes the output include the header by
# the project path, as the real build's moc step does.
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mocced=()
headers=0
moc_failed=0
for h in plugin/*.h; do
  grep -q '\bQ_OBJECT\b' "$h" || continue
  headers=$((headers + 1))
  out="$work/moc/moc_$(basename "$h" .h).cpp"
  if "$wine" "$sdk/bin/x64/moc.exe" "-f$h" -o "$out" "$h" >"$work/logs/moc_$(basename "$h").log" 2>&1 &&
     [ -s "$out" ]; then
    mocced+=("$out")
  else
    echo "check-host-sdk: Qt 4 moc rejects $h:" >&2
    cat "$work/logs/moc_$(basename "$h").log" >&2
    moc_failed=$((moc_failed + 1))
  fi
done

# Every source and moc output, for both targets, two at a time.
compile_one() { # TARGET FILE
  local log
  log="$CHECK_LOGS/$1.$(printf '%s' "$2" | tr '/' '_').log"
  if ! "$1-g++" -fsyntax-only -std=c++17 -DQT_CORE_LIB -DQT_GUI_LIB -DQT_SCRIPT_LIB -DQT_DLL \
       -DQT_NO_DEBUG -DUNICODE -D_UNICODE -DNOMINMAX -I"$CHECK_REPO" -isystem "$CHECK_SDK/include" \
       "$2" >"$log" 2>&1; then
    echo "check-host-sdk: $2 does not compile for $1:" >&2
    cat "$log" >&2
    return 1
  fi
}
export -f compile_one
export CHECK_LOGS="$work/logs" CHECK_REPO="$repo" CHECK_SDK="$sdk"
compile_failed=0
for target in x86_64-w64-mingw32 i686-w64-mingw32; do
  printf '%s\n' "${sources[@]}" "${mocced[@]}" | sed "s|^|$target |"
done | xargs -P "$jobs" -L 1 bash -c 'compile_one "$@"' _ || compile_failed=1

# 3. The heap routing, with a fake core library and runtime (tests/plugin/host_heap).
heap_failed=0
fixtures="$repo/tests/plugin/host_heap"
heap="$work/heap"
mkdir -p "$heap"
if ! { x86_64-w64-mingw32-gcc -O1 -shared -nostdlib -e0 -o "$heap/msvcr_fake.dll" \
         "$fixtures/fake_runtime.c" -Wl,--out-implib,"$heap/libmsvcr_fake.a" -lkernel32 &&
       x86_64-w64-mingw32-gcc -O1 -shared -nostdlib -e0 -o "$heap/dzcore.dll" \
         "$fixtures/fake_core.c" -L"$heap" -lmsvcr_fake -Wl,--out-implib,"$heap/libdzcore.a" &&
       x86_64-w64-mingw32-g++ -O1 -std=c++17 -Wall -Wextra -Werror -o "$heap/routing_test.exe" \
         "$fixtures/routing_test.cpp" plugin/host_heap_win.cpp -L"$heap" -ldzcore \
         -static-libgcc -static-libstdc++; } >"$work/logs/heap_build.log" 2>&1; then
  echo "check-host-sdk: the heap routing test does not build:" >&2
  cat "$work/logs/heap_build.log" >&2
  heap_failed=1
elif ! (cd "$heap" && "$wine" routing_test.exe) >"$work/logs/heap_run.log" 2>&1 ||
     ! grep -q "heap routing: to the core library's runtime .*aligned: yes" "$work/logs/heap_run.log"; then
  # Judged by the program's own report too: Wine can exit 0 without running it.
  echo "check-host-sdk: the heap routing does not reach the core library's runtime:" >&2
  cat "$work/logs/heap_run.log" >&2
  heap_failed=1
else
  cat "$work/logs/heap_run.log"
fi

errors=$(cat "$work"/logs/*-w64-mingw32.*.log 2>/dev/null | grep -cE ': (fatal )?error:' || true)
echo "check-host-sdk: ${#sources[@]} sources and the moc outputs of ${#mocced[@]} of $headers" \
     "Q_OBJECT headers, compiled for x86_64 and i686 against $sdk/include: $errors errors"
if [ "$compile_failed" -ne 0 ] || [ "$moc_failed" -ne 0 ] || [ "$errors" -ne 0 ] ||
   [ "$heap_failed" -ne 0 ]; then
  exit 1
fi
