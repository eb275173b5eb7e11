#!/usr/bin/env bash
# Installs everything QV needs to build and test its targets on a Debian 12 machine: Debian
# packages (emscripten and node for the web build among them), Debian's zlib sources for the
# Windows and web builds' zlib and minizip, and a Debian 13 chroot whose Wine runs
# both Windows builds (tools/wow64-chroot.sh; about 2 GB and 1-2 minutes, made once).
# Run as root. Safe to run again: when everything is in place it only checks and returns.
# With --check it installs nothing and only says whether everything is in place.
set -euo pipefail
check_only=0
[ "${1:-}" = "--check" ] && check_only=1

native_packages=(
  build-essential cmake ninja-build ccache git pkg-config dpkg-dev python3
  googletest libgtest-dev libgmock-dev libbenchmark-dev povray
  clang libclang-rt-14-dev clang-format
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 libz-mingw-w64-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  xvfb xauth xdotool openbox wmctrl x11-utils imagemagick debootstrap
  libx11-dev libxft-dev libxrandr-dev fonts-dejavu-core libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libglx-mesa0 libgl1
  zlib1g-dev libminizip-dev zip unzip
  libstb-dev libtinygltf-dev libtinyobjloader-dev nlohmann-json3-dev
  emscripten
  chromium chromium-driver
)

# Debian's zlib sources hold minizip, which has no mingw package: the win32 build compiles it from
# here, the wasm build zlib as well (emscripten's own zlib would be a download).
deps_dir=${QV_DEPS_DIR:-/opt/qv-deps}
tools=$(cd "$(dirname "$0")" && pwd)
zlib_source_dir=$deps_dir/zlib

is_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

all_present() {
  [ -d "$zlib_source_dir/contrib/minizip" ] || return 1
  local package
  for package in "${native_packages[@]}"; do
    is_installed "$package" || return 1
  done
  QV_DEPS_DIR=$deps_dir bash "$tools/wow64-chroot.sh" check
}

if all_present; then
  echo "setup: all dependencies present"
  exit 0
fi
if [ "$check_only" -eq 1 ]; then
  echo "setup: dependencies missing; run tools/setup.sh as root" >&2
  exit 1
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "setup: run as root (it installs Debian packages)" >&2
  exit 1
fi

need_update=0

src_list=/etc/apt/sources.list.d/qv-deb-src.sources
if [ ! -f "$src_list" ]; then
  cat >"$src_list" <<'LIST'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
LIST
  need_update=1
fi

missing=()
for package in "${native_packages[@]}"; do
  is_installed "$package" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ] || [ ! -d "$zlib_source_dir/contrib/minizip" ]; then
  need_update=1
fi

export DEBIAN_FRONTEND=noninteractive
if [ "$need_update" -eq 1 ]; then
  apt-get update -q
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if [ ! -d "$zlib_source_dir/contrib/minizip" ]; then
  echo "setup: fetching Debian's zlib sources for the win32 and wasm builds"
  work=$(mktemp -d)
  chown _apt "$work" 2>/dev/null || true
  (cd "$work" && apt-get source -q zlib >/dev/null)
  mkdir -p "$deps_dir"
  rm -rf "$zlib_source_dir"
  mv "$work"/zlib-*/ "$zlib_source_dir"
  rm -rf "$work"
fi

QV_DEPS_DIR=$deps_dir bash "$tools/wow64-chroot.sh" prepare

echo "setup: all dependencies present"
