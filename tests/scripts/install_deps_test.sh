#!/usr/bin/env bash
# The install and CI scripts with a package index that fails to update: apt-get,
# dpkg, sudo, cmake and ctest are replaced by stubs on PATH that record their
# calls, so both outcomes (the packages install from the lists present, or they
# cannot be installed) run without touching the machine. The scripts run from
# a copy of scripts/ whose target-deps.sh only records its call.
set -uo pipefail
source_repo="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/repo"
calls="$work/calls"
repo="$work/repo"
cp -r "$source_repo/scripts" "$repo/"
printf '#!/usr/bin/env bash\necho "target-deps $*" >>"%s"\n' "$calls" >"$repo/scripts/target-deps.sh"

stub() { # NAME BODY
  printf '#!/usr/bin/env bash\necho "%s $*" >>"%s"\n%s\n' "$1" "$calls" "$2" >"$work/bin/$1"
  chmod +x "$work/bin/$1"
}
# Nothing is installed; the update always fails; the install fails when
# STUB_INSTALL_FAILS is 1, or when it asks for a package STUB_INSTALL_FAILS names.
stub dpkg 'case "$1" in
  -s) exit 1 ;;
  --print-architecture) echo amd64 ;;
  --print-foreign-architectures) [ -f "'"$work"'/i386" ] && echo i386 ;;
  --add-architecture) touch "'"$work"'/i386" ;;
  --remove-architecture) rm -f "'"$work"'/i386" ;;
esac
exit 0'
stub apt-get 'case "$1" in
  update) echo "E: File has unexpected size (1234 != 5678). Mirror sync in progress?" >&2; exit 100 ;;
  install)
    if [ "${STUB_INSTALL_FAILS:-}" = 1 ] || { [ -n "${STUB_INSTALL_FAILS:-}" ] &&
         [[ " $* " == *" ${STUB_INSTALL_FAILS} "* ]]; }; then
      echo "E: Unable to correct problems" >&2
      exit 100
    fi ;;
esac
exit 0'
stub sudo 'exec "$@"'
stub cmake 'exit 0'
stub ctest 'exit 0'

passed=0
failed=0
check() { # DESCRIPTION CONDITION...
  local what="$1"
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what" >&2
    echo "--- output:" >&2
    cat "$work/out" >&2
    echo "--- calls:" >&2
    cat "$calls" >&2
  fi
}
run() { # SCRIPT ARGS... (output in $work/out, status in $status)
  : >"$calls"
  rm -f "$work/i386"
  PATH="$work/bin:$PATH" bash "$@" >"$work/out" 2>&1
  status=$?
}

# The update fails, the install works: a warning, then success.
run "$repo/scripts/install-deps.sh" default
check "a failed update is only a warning" [ "$status" -eq 0 ]
check "the warning names the update" grep -q "warning: 'apt-get update' failed" "$work/out"
check "the install still runs" grep -q '^apt-get install .*libassimp-dev' "$calls"
check "the default preset needs no i386" bash -c "! grep -q -- '--add-architecture' '$calls'"

# The install fails too: an error naming the packages; the i386 architecture
# the script added is taken back.
STUB_INSTALL_FAILS=1 run "$repo/scripts/install-deps.sh" m32-container
check "a failed install fails" [ "$status" -ne 0 ]
check "the error names the packages" grep -q 'cannot install: .*zlib1g-dev:i386' "$work/out"
check "the added i386 architecture is removed" grep -q -- '--remove-architecture i386' "$calls"

# The optional 32-bit step: skipped in one line when its packages cannot be
# installed, never building; built and tested when they can.
STUB_INSTALL_FAILS=1 run "$repo/scripts/optional-preset.sh" m32-container
check "a preset that cannot install is skipped, not failed" [ "$status" -eq 0 ]
check "the skip is one line with its reason" \
  bash -c "[ \$(wc -l <'$work/out') -eq 1 ] && grep -q '^skipped the m32-container check: .*cannot install' '$work/out'"
check "a skipped preset builds nothing" bash -c "! grep -q '^cmake' '$calls'"

run "$repo/scripts/optional-preset.sh" m32-container
check "a preset that installs is built" grep -q '^cmake --build --preset m32-container' "$calls"
check "and tested" grep -q '^ctest --preset m32-container' "$calls"

# Windows x64: the cross compilers, the target's zlib and the 64-bit Wine; its
# libraries are built into its build folder before it is configured.
run "$repo/scripts/install-deps.sh" mingw64
check "mingw64 installs the cross compilers, zlib and Wine" \
  grep -q '^apt-get install .*mingw-w64 libz-mingw-w64-dev dpkg-dev wine64' "$calls"
check "mingw64 needs no i386" bash -c "! grep -q -- '--add-architecture' '$calls'"
run "$repo/scripts/test.sh" mingw64
check "mingw64 builds its target's libraries into its build folder" \
  grep -q '^target-deps cmake/mingw64.cmake build/mingw64/deps' "$calls"
check "mingw64 runs ctest refusing a run without tests" \
  grep -q '^ctest --preset mingw64 --no-tests=error' "$calls"

# Windows x86 where the 32-bit Wine cannot be installed: built, its tests
# skipped with one line saying why, and the i386 architecture taken back.
STUB_INSTALL_FAILS=wine32:i386 run "$repo/scripts/optional-preset.sh" mingw32
check "mingw32 without wine32 succeeds" [ "$status" -eq 0 ]
check "mingw32 is still built" grep -q '^cmake --build --preset mingw32' "$calls"
check "but not tested" bash -c "! grep -q '^ctest' '$calls'"
check "one line says the run was skipped and why" \
  bash -c "[ \$(grep -c '^skipped' '$work/out') -eq 1 ] &&
    grep -q '^skipped the mingw32 run: .*wine32.*cannot install: .*wine32:i386' '$work/out'"
check "the i386 architecture added for wine32 is removed" \
  grep -q -- '--remove-architecture i386' "$calls"

# Where wine32 installs, mingw32 is built and tested.
run "$repo/scripts/optional-preset.sh" mingw32
check "mingw32 with wine32 is tested" grep -q '^ctest --preset mingw32 --no-tests=error' "$calls"
check "wine32 is an i386 package" grep -q '^apt-get install .*wine32:i386' "$calls"
run "$repo/scripts/test.sh" mingw32
check "testing mingw32 installs wine32 with its build's packages" \
  grep -q '^apt-get install .*mingw-w64 .*wine32:i386' "$calls"

# The glTF validator for CI: npm installs it at its pinned version into the
# build folder; where npm cannot, the script fails saying so.
stub node 'exit 1'
stub npm 'if [ "${STUB_NPM_FAILS:-}" = 1 ]; then echo "npm error 404 Not Found" >&2; exit 1; fi'
run "$repo/scripts/gltf-validator.sh" build/default
check "the validator installs into the build folder at its pinned version" \
  grep -q '^npm install --prefix build/default/gltf-validator .*gltf-validator@[0-9]' "$calls"
check "an installed validator is said" grep -q 'installed in build/default/gltf-validator' "$work/out"
STUB_NPM_FAILS=1 run "$repo/scripts/gltf-validator.sh" build/default
check "a validator npm cannot install fails" [ "$status" -ne 0 ]
check "saying so, with npm's words" \
  bash -c "grep -q 'cannot install gltf-validator@.*the glTF validation test cannot run' '$work/out' &&
    grep -q '404 Not Found' '$work/out'"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
