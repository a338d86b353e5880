#!/usr/bin/env bash
# Builds the shipped layout in Release and packs it as dist/TavikMouse-<version>-win64.zip:
# "Tavik Mouse.exe", Orvo.dll, skins\, language\, config.xml and device\, stripped, with no
# test programs or tools. The version is the catalogue's software version (assets/config.xml).
# A person on Windows unpacks the archive anywhere and runs "Tavik Mouse.exe".
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${TAVIK_BUILD_ROOT:-$root/build}
release=$build_root/release

"$root/scripts/bootstrap.sh"

version=$(python3 - "$root/assets/config.xml" <<'PY'
import sys
import xml.etree.ElementTree as ET
software = ET.parse(sys.argv[1]).getroot().find("software")
version = software.get("version", "") if software is not None else ""
if not version or any(c not in "0123456789." for c in version):
    sys.exit("package: the catalogue has no usable software version")
print(version)
PY
)

cmake -S "$root" -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVIK_BUILD_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" \
  -DTAVIK_DEPS_PREFIX="$root/build/deps-win" >"$build_root/release-configure.log"
cmake --build "$release" --target TavikMouse Orvo tavik_assets -j "$(nproc)" \
  >"$build_root/release-build.log"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
out=$release/out
mkdir -p "$stage/TavikMouse"
cp "$out/Tavik Mouse.exe" "$out/Orvo.dll" "$out/config.xml" "$stage/TavikMouse/"
cp -r "$out/skins" "$out/language" "$out/device" "$stage/TavikMouse/"
x86_64-w64-mingw32-strip --strip-unneeded "$stage/TavikMouse/Tavik Mouse.exe" \
  "$stage/TavikMouse/Orvo.dll"

mkdir -p "$root/dist"
archive=$root/dist/TavikMouse-$version-win64.zip
rm -f "$archive"
(cd "$stage" && zip -qr -X "$archive" TavikMouse)
echo "package: $archive ($(du -k "$archive" | cut -f1) KiB)"
