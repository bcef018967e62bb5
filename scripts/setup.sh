#!/usr/bin/env bash
# Installs what building, running and testing need, from Debian's archive only.
# Idempotent: when everything is present it installs nothing and returns in seconds.
#   scripts/setup.sh [BUILD_DIR]     (BUILD_DIR defaults to ./build; the mingw libjpeg goes to BUILD_DIR/deps)
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$here/build}")

packages=(
  g++-mingw-w64-i686 libz-mingw-w64-dev mingw-w64-i686-dev binutils-mingw-w64-i686
  wine wine32:i386 fonts-wine xvfb imagemagick
  cmake ninja-build make googletest zlib1g-dev libjpeg62-turbo-dev dpkg-dev g++ file
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
need_i386=0
dpkg --print-foreign-architectures | grep -qx i386 || need_i386=1

# Source entries for the archive (libjpeg-turbo's source package), in whichever form the machine keeps.
have_src() { grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/ ; }
jpeg_lib="$build/deps/mingw-jpeg/lib/libjpeg.a"
need_src=0
[ -f "$jpeg_lib" ] || have_src || need_src=1

if [ ${#missing[@]} -gt 0 ] || [ $need_i386 = 1 ] || [ $need_src = 1 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "setup: these steps need root (run as root, or with sudo):" >&2
    [ $need_i386 = 1 ] && echo "  dpkg --add-architecture i386" >&2
    [ $need_src = 1 ] && echo "  enable deb-src entries for the Debian archive" >&2
    [ ${#missing[@]} -gt 0 ] && echo "  apt-get install ${missing[*]}" >&2
    exit 1
  fi
  [ $need_i386 = 1 ] && dpkg --add-architecture i386
  if [ $need_src = 1 ]; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed -e 's/^Types:.*$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
        > /etc/apt/sources.list.d/twinsift-deb-src.sources
    elif [ -f /etc/apt/sources.list ] && grep -qE '^deb ' /etc/apt/sources.list; then
      grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' > /etc/apt/sources.list.d/twinsift-deb-src.list
    else
      echo "setup: found no Debian archive entries to derive source entries from" >&2
      exit 1
    fi
  fi
  echo "setup: updating package lists"
  apt-get update -qq
  if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
fi

# libjpeg-turbo for mingw, static, decode side only, built from Debian's source package.
if [ ! -f "$jpeg_lib" ]; then
  echo "setup: building libjpeg-turbo for i686-w64-mingw32"
  deps="$build/deps"
  mkdir -p "$deps/src"
  ( cd "$deps/src" && apt-get source --download-only -qq libjpeg-turbo >/dev/null 2>&1 )
  tarball=$(ls "$deps"/src/libjpeg-turbo_*.orig.tar.gz | head -n 1)
  rm -rf "$deps/src/unpacked" && mkdir -p "$deps/src/unpacked"
  tar xzf "$tarball" -C "$deps/src/unpacked"
  srcdir=$(ls -d "$deps"/src/unpacked/*/ | head -n 1)
  cmake -S "$srcdir" -B "$deps/jpeg-build" -G Ninja --log-level=ERROR \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-mingw-i686.cmake" -DCMAKE_INSTALL_PREFIX="$deps/mingw-jpeg" \
    -DENABLE_SHARED=OFF -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_C_FLAGS="-ffunction-sections -fdata-sections -DNO_GETENV -D__USE_MINGW_ANSI_STDIO=0" >/dev/null
  ninja -C "$deps/jpeg-build" jpeg-static >/dev/null
  mkdir -p "$deps/mingw-jpeg/include" "$deps/mingw-jpeg/lib"
  cp "$srcdir"/jpeglib.h "$srcdir"/jmorecfg.h "$srcdir"/jerror.h "$deps/jpeg-build/jconfig.h" "$deps/mingw-jpeg/include/"
  cp "$deps/jpeg-build/libjpeg.a" "$jpeg_lib"
fi
