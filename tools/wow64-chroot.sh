#!/usr/bin/env bash
# Prepares the Debian 13 chroot whose 64-bit Wine runs the i386 Windows build in Wine's WoW64
# mode: one 64-bit process runs the 32-bit code, so no i386 Linux program is ever executed and
# the tests run also where the kernel refuses i386 programs.
#   wow64-chroot.sh check    succeeds when the chroot is complete; changes nothing
#   wow64-chroot.sh prepare  creates or completes it (as root); quick when it is complete
# Wine 10 tries its i386 loader first and falls back to WoW64 when it cannot start it, so that
# loader (package wine32:i386) must stay absent. The i386 PE DLLs come from libwine:i386 of the
# same version, unpacked but never installed (installing it would pull i386 ELF libraries).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh" win32

mirror=${QV_DEBIAN_MIRROR:-http://deb.debian.org/debian}
# Raise when the recipe below changes: a chroot made by an older recipe is then completed again.
recipe=1
stamp=$QV_WINE_ROOT/etc/qv-wow64-recipe
wine_packages=(wine wine64 wine64-preloader libwine)
packages=(
  "${wine_packages[@]}" xvfb xauth libgl1 libglx-mesa0 libgl1-mesa-dri libxrender1 libxrandr2
  libxi6 libxcursor1 libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1
)
pe_dir=/usr/lib/x86_64-linux-gnu/wine/i386-windows

is_complete() {
  [ "$(cat "$stamp" 2>/dev/null)" = "$recipe" ] &&
    [ -x "$QV_WINE_ROOT$QV_WINE_LOADER" ] &&
    [ -f "$QV_WINE_ROOT$pe_dir/kernel32.dll" ] &&
    [ ! -e "$QV_WINE_ROOT/usr/lib/wine/wine" ] &&
    [ ! -e "$QV_WINE_ROOT/usr/lib/wine/wine-preloader" ]
}

# Runs a command in the chroot, in a mount namespace of its own: whatever it mounts there
# (proc, sysfs, /dev) disappears with it, even when it is interrupted.
in_chroot() {
  unshare --mount --propagation slave bash -c '
    set -e
    root=$1; shift
    mount -t proc proc "$root/proc"
    mount -t sysfs sysfs "$root/sys"
    mount --rbind /dev "$root/dev"
    exec chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
      DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"' _ "$QV_WINE_ROOT" "$@"
}

# Refuses to delete a directory that something is mounted under.
remove_tree() {
  if findmnt -rn -o TARGET | grep -q "^$1\(/\|$\)"; then
    echo "wow64-chroot: $1 has mounts beneath it; not removing it" >&2
    exit 1
  fi
  rm -rf --one-file-system "$1"
}

case ${1:-} in
  check)
    is_complete
    exit
    ;;
  prepare) ;;
  *)
    echo "usage: wow64-chroot.sh check|prepare" >&2
    exit 2
    ;;
esac
is_complete && exit 0

if [ ! -f "$QV_WINE_ROOT/etc/qv-wow64-base" ]; then
  echo "wow64-chroot: creating the Debian 13 chroot in $QV_WINE_ROOT"
  remove_tree "$QV_WINE_ROOT.partial"
  mkdir -p "$(dirname "$QV_WINE_ROOT")"
  # debootstrap mounts proc and sysfs in the target: in a namespace of its own they cannot stay.
  unshare --mount --propagation slave \
    debootstrap --variant=minbase trixie "$QV_WINE_ROOT.partial" "$mirror" \
    >"$QV_WINE_ROOT.log" 2>&1 || {
    tail -n 20 "$QV_WINE_ROOT.log" >&2
    exit 1
  }
  touch "$QV_WINE_ROOT.partial/etc/qv-wow64-base"
  remove_tree "$QV_WINE_ROOT"
  mv "$QV_WINE_ROOT.partial" "$QV_WINE_ROOT"
  rm -f "$QV_WINE_ROOT.log"
fi

echo "wow64-chroot: installing Wine 10 in the chroot"
cp /etc/resolv.conf "$QV_WINE_ROOT/etc/resolv.conf"
in_chroot bash -c '
  set -e
  dpkg --configure -a
  apt-get update -q
  apt-get install -y -q --no-install-recommends "$@"
' _ "${packages[@]}" >/dev/null
in_chroot apt-mark hold "${wine_packages[@]}" >/dev/null

echo "wow64-chroot: adding the i386 Windows DLLs of the same Wine version"
in_chroot bash -c '
  set -e
  version=$(dpkg-query -W -f="\${Version}" libwine)
  dpkg --add-architecture i386
  apt-get update -q >/dev/null
  work=$(mktemp -d /var/tmp/libwine-i386.XXXXXX)
  chown _apt "$work"
  cd "$work"
  apt-get download -q "libwine:i386=$version" >/dev/null
  dpkg-deb -x libwine_*_i386.deb unpacked
  # The amd64 package brings its own zlib1.dll there: keep it.
  cp -n unpacked/usr/lib/i386-linux-gnu/wine/i386-windows/* "$1/"
  cd /
  rm -rf "$work"
  dpkg --remove-architecture i386
  apt-get update -q >/dev/null
  apt-get clean
' _ "$pe_dir"

# The i386 loader would make Wine try (and fail) to start an i386 program instead of WoW64.
if [ -e "$QV_WINE_ROOT/usr/lib/wine/wine" ] || [ -e "$QV_WINE_ROOT/usr/lib/wine/wine-preloader" ]; then
  echo "wow64-chroot: the i386 Wine loader is installed in the chroot; remove wine32:i386" >&2
  exit 1
fi
echo "$recipe" >"$stamp"
is_complete
