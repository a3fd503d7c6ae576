#!/usr/bin/env bash
# Builds the libraries a cross-compiled (MinGW-w64) preset links, for its
# target, into PREFIX: libdeflate at the version the Linux build uses (from
# Debian's source package), GoogleTest from libgtest-dev's sources and the
# nlohmann-json headers with their CMake package. zlib comes from
# libz-mingw-w64-dev. A PREFIX that already holds a finished build for the same
# versions is reused as it is.
# usage: target-deps.sh TOOLCHAIN_FILE PREFIX
set -euo pipefail
toolchain="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
prefix="$2"
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"

deflate_version="$(dpkg-query -W -f='${Version}' libdeflate-dev)"
gtest_version="$(dpkg-query -W -f='${Version}' googletest)"
json_version="$(dpkg-query -W -f='${Version}' nlohmann-json3-dev)"
stamp="$prefix/built-with"
wanted="$(basename "$toolchain") libdeflate $deflate_version googletest $gtest_version nlohmann-json $json_version"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ]; then
  exit 0
fi
echo "target-deps: building $wanted into $prefix"
rm -rf "$prefix"
mkdir -p "$prefix/src" "$prefix/include" "$prefix/lib"
triplet="$(sed -n 's/^set(YFX_TARGET_TRIPLET \([^)]*\)).*/\1/p' "$toolchain")"
[ -n "$triplet" ] || { echo "target-deps: no YFX_TARGET_TRIPLET in $toolchain" >&2; exit 1; }

# The source package needs a deb-src entry for the archive the binary package
# comes from; it goes into a sources file of this project's own.
sources_file=/etc/apt/sources.list.d/yfx-source-packages.sources
fetch_deflate_source() {
  (cd "$prefix/src" && apt-get source -qq "libdeflate=$deflate_version" >/dev/null 2>&1)
}
if ! fetch_deflate_source; then
  archive="$(apt-cache policy libdeflate-dev | awk '/^ +[0-9]+ (https?|file):/ {print $2, $3; exit}')"
  uri="${archive%% *}"
  suite_component="${archive#* }"
  [ -n "$uri" ] && [ "$uri" != "$archive" ] || {
    echo "target-deps: cannot tell which archive libdeflate-dev comes from" >&2
    exit 1
  }
  suite="${suite_component%%/*}"
  # The entry must name the keyring the archive's binary entry names: apt
  # refuses two entries for one archive with different keyrings.
  keyring="$(awk -v uri="$uri" '
    /^$/ { if (match_uri && key != "") { print key; exit } match_uri = 0; key = "" }
    /^URIs:/ { for (i = 2; i <= NF; i++) { u = $i; sub(/\/$/, "", u); if (u == uri) match_uri = 1 } }
    /^Signed-By:/ { key = $2 }
    END { if (match_uri && key != "") print key }' /etc/apt/sources.list.d/*.sources 2>/dev/null |
    head -n 1)"
  {
    echo "Types: deb-src"
    echo "URIs: $uri"
    echo "Suites: $suite"
    echo "Components: ${suite_component#*/}"
    [ -z "$keyring" ] || echo "Signed-By: $keyring"
  } | $sudo_cmd tee "$sources_file" >/dev/null
  if ! apt-cache policy >/dev/null 2>&1; then
    $sudo_cmd rm -f "$sources_file" # never leave apt unable to read its sources
    echo "target-deps: apt does not accept a deb-src entry for $uri $suite" >&2
    exit 1
  fi
  $sudo_cmd apt-get update -qq ||
    echo "target-deps: warning: 'apt-get update' failed; fetching from the lists present" >&2
  fetch_deflate_source || { echo "target-deps: cannot fetch libdeflate's source package" >&2; exit 1; }
fi
deflate_src="$(find "$prefix/src" -maxdepth 1 -type d -name 'libdeflate-*' | head -n 1)"

# libdeflate: the static library only (its Makefile also builds programs and
# tests); for a Windows target the Makefile names it libdeflatestatic.lib.
make -s -C "$deflate_src" -j2 libdeflatestatic.lib CC="$triplet-gcc" AR="$triplet-ar" \
  CFLAGS="-O2"
cp "$deflate_src/libdeflatestatic.lib" "$prefix/lib/libdeflate.a"
cp "$deflate_src/libdeflate.h" "$prefix/include/"

# GoogleTest (without GoogleMock), with the toolchain the project uses.
cmake -S /usr/src/googletest -B "$prefix/googletest-build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON \
  >/dev/null
cmake --build "$prefix/googletest-build" -j2 >/dev/null
cmake --install "$prefix/googletest-build" >/dev/null
rm -rf "$prefix/googletest-build"

# nlohmann-json: headers only; its CMake package finds them relative to itself.
cp -r /usr/include/nlohmann "$prefix/include/"
mkdir -p "$prefix/share/cmake"
cp -r /usr/share/cmake/nlohmann_json "$prefix/share/cmake/"

echo "$wanted" >"$stamp"
