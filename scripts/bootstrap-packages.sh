#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need. Idempotent: when every
# package is already installed it returns without touching apt.
set -euo pipefail

packages=(
  cmake ninja-build pkg-config dpkg-dev tcl
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools
  libz-mingw-w64-dev
  wine wine64 fonts-wine xvfb xdotool imagemagick x11-utils python3
  fonts-dejavu-core fonts-liberation fonts-droid-fallback fonts-open-sans
  fonts-wqy-microhei
  libsqlite3-dev libhidapi-dev libminizip-dev zlib1g-dev libgtest-dev googletest
  sqlite3 libxml2-utils clang libclang-rt-14-dev librsvg2-bin zip unzip
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

sudo_if_needed() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Source packages (for the Windows builds of the dependencies) need deb-src entries.
enable_sources() {
  local changed=0
  for file in /etc/apt/sources.list.d/debian.sources; do
    [ -f "$file" ] || continue
    if grep -q '^Types: deb$' "$file"; then
      sudo_if_needed sed -i 's/^Types: deb$/Types: deb deb-src/' "$file"
      changed=1
    fi
  done
  if [ -f /etc/apt/sources.list ] && grep -q '^deb http.*debian' /etc/apt/sources.list &&
    ! grep -q '^deb-src' /etc/apt/sources.list; then
    sudo_if_needed sed -i -n 'p; s/^deb \(http.*debian.*\)/deb-src \1/p' /etc/apt/sources.list
    changed=1
  fi
  echo "$changed"
}

changed=$(enable_sources)
if [ "${#missing[@]}" -gt 0 ] || [ "$changed" = 1 ] || [ "${BOOTSTRAP_FORCE_UPDATE:-0}" = 1 ]; then
  sudo_if_needed apt-get update -qq
fi
if [ "${#missing[@]}" -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive sudo_if_needed apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
