#!/usr/bin/env bash
# Makes third_party/freecell-solver/ from Debian's source package
# freecell-solver (5.0.0): the C sources of the solver's library as the game
# builds it (Freecell only, 4 free cells, 8 columns; compact positions kept as
# their differences from the position before, about a third of the memory of
# the default), and the sources that its
# own build generates with perl, gperf and python3, so that building the game
# needs none of those. Run as root on Debian 12 (it installs the generators
# and adds a deb-src line for bookworm if there is none); the result is
# committed, and this script is how it was made.
#
#   bash scripts/vendor-freecell-solver.sh [work folder, default build/vendor-freecell-solver]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$root/build/vendor-freecell-solver}
version=5.0.0
dest=$root/third_party/freecell-solver

if ! dpkg-query -W -f='${Status}' gperf libpath-tiny-perl libtemplate-perl python3-six dpkg-dev 2>/dev/null |
    grep -c 'install ok installed' | grep -qx 5; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    gperf libpath-tiny-perl libtemplate-perl python3-six dpkg-dev
fi
if ! grep -rqs '^Types: *deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  cat >/etc/apt/sources.list.d/debian-src.sources <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  apt-get update -q
fi

rm -rf "$work"
mkdir -p "$work"
cd "$work"
# Only the upstream tarball is used (Debian's own changes are packaging only);
# it is checked against the checksum that the package's signed .dsc names.
apt-get source --download-only freecell-solver="$version"-2 || true
orig=freecell-solver_$version.orig.tar.xz
[ -f "$orig" ] || { echo "vendor: $orig was not fetched" >&2; exit 1; }
expected=$(awk '/^Checksums-Sha256:/ {on=1; next} /^[^ ]/ {on=0} on && $3 == f {print $1}' f="$orig" ./*.dsc)
echo "$expected  $orig" | sha256sum -c -
tar xf "$orig"
src=$work/freecell-solver-$version

# The library built once with the product's compilers: its configuration
# writes config.h for 32-bit Windows, its build the generated sources, and
# the compiler's dependency files name every file the library reads.
mkdir build
cd build
cmake "$src" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686-product.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DFCS_FREECELL_ONLY=ON -DSTATES_TYPE=COMPACT_STATES -DFCS_ENABLE_RCS_STATES=ON \
  -DFCS_WITH_TEST_SUITE=OFF -DFCS_BUILD_DOCS=OFF -DFCS_AVOID_TCMALLOC=ON >configure.log
make VERBOSE=1 freecell-solver-static >build.log

# CMakeLists.txt and README.md there are the game's own, and stay.
rm -rf "$dest/src" "$dest/generated" "$dest/sources.cmake" "$dest"/COPYING*
mkdir -p "$dest/src" "$dest/generated"
deps=$(cat $(find CMakeFiles/freecell-solver-static.dir -name '*.d') | tr ' \\' '\n\n' | grep -v ':$' |
  grep -v '^/usr' | grep . | sort -u)
for file in $deps; do
  case $file in
    "$src"/*) rel=${file#"$src"/}; mkdir -p "$dest/src/$(dirname "$rel")"; cp "$file" "$dest/src/$rel" ;;
    "$PWD"/*) rel=${file#"$PWD"/}; mkdir -p "$dest/generated/$(dirname "$rel")"; cp "$file" "$dest/generated/$rel" ;;
    *) echo "vendor: unexpected input $file" >&2; exit 1 ;;
  esac
done

# The compiled sources, in the library's order, for the game's CMake.
{
  echo "# Written by scripts/vendor-freecell-solver.sh: the solver library's sources."
  echo "set(freecell_solver_sources"
  grep -o ' -c [^ ]*' build.log | sed 's/^ -c //' | while read -r file; do
    case $file in
      "$src"/*) echo "  src/${file#"$src"/}" ;;
      "$PWD"/*) echo "  generated/${file#"$PWD"/}" ;;
    esac
  done
  echo ")"
} >"$dest/sources.cmake"

# config.h as configured for the game, with the pointer size taken from the
# compiler, so that the host's tests build the same library as 64-bit code.
sed -i 's/^#define SIZEOF_VOID_P 4$/#define SIZEOF_VOID_P __SIZEOF_POINTER__/' "$dest/generated/config.h"
grep -q '__SIZEOF_POINTER__' "$dest/generated/config.h"
# gperf names its temporary output file in a comment; the name changes each run.
sed -i 's|--output-file=[^ ]*temp__cmd_line_inc.h|--output-file=temp__cmd_line_inc.h|' "$dest/generated/cmd_line_inc.h"

cp "$src/COPYING.asciidoc" "$dest/COPYING"
cp "$src/patsolve/LICENSE" "$dest/COPYING.patsolve"
echo "vendor: $(find "$dest" -type f | wc -l) files, $(du -sh "$dest" | cut -f1) in $dest"
