#!/usr/bin/env bash
# Installs the Debian packages that building and testing need: the MinGW-w64 compilers, Wine
# (64-bit and 32-bit, with the i386 architecture, and its fonts such as Tahoma and Marlett),
# Xvfb, CMake, Ninja and GoogleTest's sources, and a deb-src entry so that libjpeg-turbo can be
# built from Debian's source package, and the Japanese locale ja_JP.UTF-8, under which the tests
# run Wine with a double-byte ANSI code page (932).
# HK_WITH_IMAGEMAGICK=1 adds ImageMagick (screenshots).
# Idempotent: when everything is there it only checks, in well under a second.
set -euo pipefail

packages=(
  cmake ninja-build nasm dpkg-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 wine32:i386 fonts-wine
  xvfb xauth googletest locales
)
[ "${HK_WITH_IMAGEMAGICK:-0}" = 1 ] && packages+=(imagemagick)

installed() {
  dpkg-query -W -f='${db:Status-Abbrev}\n' "$1" 2>/dev/null | grep -q '^ii'
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

need_i386=0
dpkg --print-foreign-architectures | grep -qx i386 || need_i386=1

# libjpeg-turbo comes from Debian's own source package: a deb-src entry derived from the
# machine's Debian list is added when no source entry exists yet.
src_list=/etc/apt/sources.list.d/halvorkeep-deb-src.sources
need_src=0
if ! grep -Eqs '^[[:space:]]*(Types:.*deb-src|deb-src[[:space:]])' /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; then
  need_src=1
fi

# Wine takes its ANSI code page from the locale's name, but it can spell a file name on the Linux
# side only in a locale that exists: without ja_JP.UTF-8, every double-byte name fails to open.
need_locale=0
locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8' || need_locale=1

# Nothing to do: the common case, after the first run.
[ ${#missing[@]} -eq 0 ] && [ $need_i386 = 0 ] && [ $need_src = 0 ] && [ $need_locale = 0 ] && exit 0

if [ "$(id -u)" != 0 ]; then
  echo "setup: these steps need root (run scripts/setup.sh as root):" >&2
  [ ${#missing[@]} -eq 0 ] || echo "  install: ${missing[*]}" >&2
  [ $need_i386 = 0 ] || echo "  dpkg --add-architecture i386" >&2
  [ $need_src = 0 ] || echo "  a deb-src entry for apt-get source" >&2
  [ $need_locale = 0 ] || echo "  the locale ja_JP.UTF-8 (locale-gen)" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
need_update=0
# A fresh machine may have no package lists at all: update before the first install.
[ -n "$(ls -A /var/lib/apt/lists 2>/dev/null | grep -v -e '^lock$' -e '^partial$' -e '^auxfiles$')" ] || need_update=1
[ ${#missing[@]} -eq 0 ] || need_update=1

if [ $need_i386 = 1 ]; then
  echo "setup: adding the i386 architecture (for wine32)"
  dpkg --add-architecture i386
  need_update=1
fi

if [ $need_src = 1 ]; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$src_list"
  elif grep -Eqs '^[[:space:]]*deb[[:space:]]' /etc/apt/sources.list; then
    grep -E '^[[:space:]]*deb[[:space:]]' /etc/apt/sources.list | sed -E 's/^[[:space:]]*deb[[:space:]]/deb-src /' \
      >"${src_list%.sources}.list"
  else
    echo "setup: no Debian source list found to derive a deb-src entry from" >&2
  fi
  need_update=1
fi

if [ $need_update = 1 ]; then
  echo "setup: apt-get update"
  # One unreachable source makes update fail although the lists we need were read: go on.
  apt-get update -qq </dev/null || echo "setup: apt-get update reported problems; installing anyway" >&2
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  apt-get install -y -qq --no-install-recommends -o Dpkg::Use-Pty=0 "${missing[@]}" </dev/null >/dev/null
  still=()
  for p in "${missing[@]}"; do installed "$p" || still+=("$p"); done
  if [ ${#still[@]} -gt 0 ]; then
    echo "setup: still missing after apt-get install: ${still[*]}" >&2
    exit 1
  fi
fi

if [ $need_locale = 1 ]; then
  echo "setup: generating the locale ja_JP.UTF-8"
  # Listed in /etc/locale.gen, so that a later locale-gen (an upgrade of locales) keeps it.
  if grep -Eq '^[#[:space:]]*ja_JP\.UTF-8[[:space:]]+UTF-8' /etc/locale.gen 2>/dev/null; then
    sed -i -E 's/^[#[:space:]]*(ja_JP\.UTF-8[[:space:]]+UTF-8)/\1/' /etc/locale.gen
  else
    echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
  fi
  locale-gen --keep-existing >/dev/null
  if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8'; then
    echo "setup: the locale ja_JP.UTF-8 is still missing after locale-gen" >&2
    exit 1
  fi
fi
