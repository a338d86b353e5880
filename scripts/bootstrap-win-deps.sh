#!/usr/bin/env bash
# Builds the Windows (mingw-w64, posix threads) static libraries of SQLite, hidapi, minizip
# and GoogleTest from Debian's source packages into build/deps-win. Idempotent: each
# library is rebuilt only when its stamp is missing.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source_dir=$root/build/deps-src
prefix=$root/build/deps-win
toolchain=$root/cmake/mingw-w64-posix.cmake
triple=x86_64-w64-mingw32
cc=$triple-gcc-posix
ar=$triple-gcc-ar-posix
mkdir -p "$source_dir" "$prefix/include" "$prefix/lib" "$prefix/stamps"

fetch_source() {  # package[=version] directory-glob
  local spec=$1 glob=$2
  if ! compgen -G "$source_dir/$glob" >/dev/null; then
    (cd "$source_dir" && apt-get source --download-only "$spec" >/dev/null 2>&1 &&
      dpkg-source -x "$(ls -t "${spec%%=*}"_*.dsc | head -n 1)" >/dev/null 2>&1)
  fi
  compgen -G "$source_dir/$glob" | head -n 1
}

if [ ! -f "$prefix/stamps/sqlite3" ]; then
  echo "bootstrap: building SQLite for Windows"
  src=$(fetch_source sqlite3 'sqlite3-3.*/')
  build=$source_dir/sqlite3-build
  mkdir -p "$build"
  if [ ! -f "$build/sqlite3.c" ]; then
    (cd "$build" && "$src/configure" --disable-tcl >/dev/null && make sqlite3.c >/dev/null)
  fi
  "$cc" -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -c "$build/sqlite3.c" \
    -o "$build/sqlite3.win.o"
  rm -f "$prefix/lib/libsqlite3.a"
  "$ar" rcs "$prefix/lib/libsqlite3.a" "$build/sqlite3.win.o"
  cp "$build/sqlite3.h" "$build/sqlite3ext.h" "$prefix/include/"
  touch "$prefix/stamps/sqlite3"
fi

if [ ! -f "$prefix/stamps/hidapi" ]; then
  echo "bootstrap: building hidapi for Windows"
  src=$(fetch_source hidapi 'hidapi-0.*/')
  hid_c=$src/windows/hid.c
  # Wine's cfgmgr32 lacks CM_Get_Device_Interface_PropertyW; hidapi treats it as mandatory
  # and hid_init() fails. Looking it up optionally only loses bus type and container id.
  if ! grep -q 'tavik: optional' "$hid_c"; then
    sed -i 's|^\tRESOLVE(cfgmgr32_lib_handle, CM_Get_Device_Interface_PropertyW);|\tCM_Get_Device_Interface_PropertyW = (CM_Get_Device_Interface_PropertyW_)GetProcAddress(cfgmgr32_lib_handle, "CM_Get_Device_Interface_PropertyW"); /* tavik: optional */|' "$hid_c"
    sed -i 's|^\tcr = CM_Get_Device_Interface_PropertyW(interface_path, property_key, \&property_type, NULL, \&len, 0);|\tif (!CM_Get_Device_Interface_PropertyW) return NULL;\n&|' "$hid_c"
    grep -q 'tavik: optional' "$hid_c" && grep -q 'if (!CM_Get_Device_Interface_PropertyW) return NULL;' "$hid_c" ||
      { echo "bootstrap: the hidapi patch did not apply" >&2; exit 1; }
  fi
  cmake -S "$src" -B "$source_dir/hidapi-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DBUILD_SHARED_LIBS=OFF -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DHIDAPI_WITH_TESTS=OFF -DHIDAPI_BUILD_HIDTEST=OFF >/dev/null
  cmake --build "$source_dir/hidapi-build" -j2 >/dev/null
  cmake --install "$source_dir/hidapi-build" >/dev/null
  # Its export macro is hard-wired to dllexport: strip the -export directives so whatever
  # links the static library does not re-export hid_*.
  $triple-objcopy -R .drectve "$prefix/lib/libhidapi.a"
  touch "$prefix/stamps/hidapi"
fi

if [ ! -f "$prefix/stamps/minizip" ]; then
  echo "bootstrap: building minizip for Windows"
  src=$(fetch_source zlib=1:1.2.13.dfsg-1 'zlib-1.2.13*/')
  minizip=$src/contrib/minizip
  build=$source_dir/minizip-build
  mkdir -p "$build" "$prefix/include/minizip"
  for file in unzip ioapi iowin32; do
    "$cc" -O2 -I"$minizip" -c "$minizip/$file.c" -o "$build/$file.o"
  done
  rm -f "$prefix/lib/libminizip.a"
  "$ar" rcs "$prefix/lib/libminizip.a" "$build"/unzip.o "$build"/ioapi.o "$build"/iowin32.o
  cp "$minizip/unzip.h" "$minizip/ioapi.h" "$minizip/iowin32.h" "$prefix/include/minizip/"
  touch "$prefix/stamps/minizip"
fi

if [ ! -f "$prefix/stamps/googletest" ]; then
  echo "bootstrap: building GoogleTest for Windows"
  cmake -S /usr/src/googletest -B "$source_dir/googletest-build" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_GMOCK=ON >/dev/null
  cmake --build "$source_dir/googletest-build" -j2 >/dev/null
  cmake --install "$source_dir/googletest-build" >/dev/null
  touch "$prefix/stamps/googletest"
fi
