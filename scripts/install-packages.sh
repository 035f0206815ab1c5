#!/usr/bin/env bash
# Installs, as root on Debian 12, every package that the build, the tests and the
# demo need. Quick when everything is already there; fails loudly when a package
# cannot be installed.
set -euo pipefail

packages=(
  cmake make g++ g++-mingw-w64-i686 g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32
  mingw-w64 binutils-mingw-w64-i686 python3
  libgtest-dev googletest librapidcheck-dev
  wine wine32:i386 wine64
  xvfb x11-apps imagemagick locales fonts-ipafont-gothic fonts-wine
  freecell-solver-bin libfreecell-solver-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# A package that dpkg counts as installed but whose tool is gone is installed
# again.
reinstall=()
for tool in g++-posix gcc-posix g++-win32 gcc-win32 ar ranlib as ld objdump windres; do
  path=/usr/bin/i686-w64-mingw32-$tool
  if [ ! -x "$path" ] && owner=$(dpkg-query -S "$path" 2>/dev/null); then
    reinstall+=("${owner%%:*}")
  fi
done

if ((${#missing[@]} + ${#reinstall[@]})); then
  if [ "$(id -u)" != 0 ]; then
    echo "install-packages: missing packages (${missing[*]} ${reinstall[*]}) and not root" >&2
    exit 1
  fi
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  if ((${#missing[@]})); then
    apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
  if ((${#reinstall[@]})); then
    apt-get install -y -q --no-install-recommends --reinstall "${reinstall[@]}"
  fi
fi

# ja_JP.UTF-8 gives Wine code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi

for tool in i686-w64-mingw32-g++-posix i686-w64-mingw32-g++-win32 i686-w64-mingw32-objdump \
            python3 wine Xvfb cmake fc-solve; do
  command -v "$tool" >/dev/null || { echo "install-packages: $tool not found after install" >&2; exit 1; }
done
