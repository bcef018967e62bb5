#!/usr/bin/env bash
# Installs what building, running and testing need, from Debian's archive only.
# Idempotent: when everything is present it installs nothing and returns in seconds.
#   scripts/setup.sh [BUILD_DIR]     (BUILD_DIR defaults to ./build; the mingw libjpeg goes to BUILD_DIR/deps)
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$here/build}")

# Which Windows build runs under Wine here: the 32-bit one, or where the host runs 64-bit code only (or
# WINE_ARCH=64 says so) a 64-bit twin. The 32-bit program is built either way: it is what we ship.
arch=$("$here/scripts/host-arch.sh" "$build")
echo "setup: $("$here/scripts/host-arch.sh" --why "$build")"

packages=(
  g++-mingw-w64-i686 libz-mingw-w64-dev mingw-w64-i686-dev binutils-mingw-w64-i686
  wine fonts-wine xvfb imagemagick
  cmake ninja-build make googletest zlib1g-dev libjpeg62-turbo-dev dpkg-dev g++ file liblnk-utils
  clang libclang-rt-14-dev
  fdupes jdupes
)
if [ "$arch" = 64 ]; then
  packages+=(wine64 g++-mingw-w64-x86-64 mingw-w64-x86-64-dev binutils-mingw-w64-x86-64)
else
  packages+=(wine32:i386)
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
need_i386=0
[ "$arch" = 32 ] && ! dpkg --print-foreign-architectures | grep -qx i386 && need_i386=1

# Source entries for the archive (libjpeg-turbo's source package), in whichever form the machine keeps.
have_src() { grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/ ; }
# libjpeg for each mingw target: i686 always, x86_64 for the twin.
jpeg_targets=("i686 mingw-jpeg")
[ "$arch" = 64 ] && jpeg_targets+=("x86_64 mingw64-jpeg")
need_src=0
for t in "${jpeg_targets[@]}"; do
  [ -f "$build/deps/${t#* }/lib/libjpeg.a" ] || have_src || need_src=1
done

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
  # A mirror in the middle of a sync serves index files that fail their checks: try again, then go on with
  # what arrived (seen: the i386 list of the security suite stayed broken for days).
  lists_complete=1
  for attempt in 1 2 3; do
    apt-get update -qq 2>&1 | tee /tmp/twinsift-apt-update.log >&2 || true
    grep -qE '^(E|W): ' /tmp/twinsift-apt-update.log || { lists_complete=1; break; }
    lists_complete=0
    [ $attempt = 3 ] || { echo "setup: some package lists failed (try $attempt of 3), trying again in 15 s" >&2; sleep 15; }
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    install=(env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends)
    if ! "${install[@]}" "${missing[@]}" >/dev/null; then
      [ $lists_complete = 0 ] || { echo "setup: installing ${missing[*]} failed" >&2; exit 1; }
      # Without one architecture's security list, 32-bit libraries cannot match their 64-bit twins' versions
      # (multiarch asks for equal ones): take both from the main suite, where each version exists for both.
      echo "setup: installing again from the main suite only, as a package list is missing" >&2
      printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 100\n' > /tmp/twinsift-apt-pin
      "${install[@]}" -o Dir::Etc::Preferences=/tmp/twinsift-apt-pin "${missing[@]}" >/dev/null
    fi
  fi
fi

# libjpeg-turbo for mingw, static, built from Debian's source package with only what our pictures need
# (baseline Huffman decoding, the accurate integer IDCT, fancy upsampling): no arithmetic coding, scaled
# IDCT, merged upsampling, colour quantisers or ifast/float DCTs, and on 32 bits no unwind tables for its C
# code (its errors leave by longjmp, never by a C++ exception). Our pictures decode to the same pixels
# (tests/windows/pictures). The recipe's tag in the install folder makes a changed recipe rebuild it.
jpeg_recipe="decode-only-2"
build_jpeg() {  # processor, install folder name
  local cpu=$1 name=$2
  local deps="$build/deps" lib="$build/deps/$2/lib/libjpeg.a"
  [ -f "$lib" ] && [ "$(cat "$deps/$name/recipe" 2>/dev/null)" = "$jpeg_recipe" ] && return 0
  echo "setup: building libjpeg-turbo for $cpu-w64-mingw32"
  mkdir -p "$deps/src"
  ls "$deps"/src/libjpeg-turbo_*.orig.tar.gz >/dev/null 2>&1 ||
    ( cd "$deps/src" && apt-get source --download-only -qq libjpeg-turbo >/dev/null 2>&1 )
  local tarball; tarball=$(ls "$deps"/src/libjpeg-turbo_*.orig.tar.gz | head -n 1)
  rm -rf "$deps/src/unpacked" && mkdir -p "$deps/src/unpacked"
  tar xzf "$tarball" -C "$deps/src/unpacked"
  local srcdir; srcdir=$(ls -d "$deps"/src/unpacked/*/ | head -n 1)
  sed -i -E 's/^#define (DCT_IFAST_SUPPORTED|DCT_FLOAT_SUPPORTED|IDCT_SCALING_SUPPORTED|UPSAMPLE_MERGING_SUPPORTED|QUANT_1PASS_SUPPORTED|QUANT_2PASS_SUPPORTED)\b/#undef \1/' \
    "$srcdir/jmorecfg.h"
  local cflags="-ffunction-sections -fdata-sections -DNO_GETENV -D__USE_MINGW_ANSI_STDIO=0"
  [ "$cpu" = i686 ] && cflags+=" -fno-asynchronous-unwind-tables -fno-unwind-tables"
  rm -rf "$deps/jpeg-build-$cpu"
  cmake -S "$srcdir" -B "$deps/jpeg-build-$cpu" -G Ninja --log-level=ERROR -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-mingw-$cpu.cmake" -DCMAKE_INSTALL_PREFIX="$deps/$name" \
    -DENABLE_SHARED=OFF -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_ARITH_DEC=OFF -DWITH_ARITH_ENC=OFF \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_C_FLAGS="$cflags" >/dev/null
  ninja -C "$deps/jpeg-build-$cpu" jpeg-static >/dev/null
  mkdir -p "$deps/$name/include" "$deps/$name/lib"
  cp "$srcdir"/jpeglib.h "$srcdir"/jmorecfg.h "$srcdir"/jerror.h "$deps/jpeg-build-$cpu/jconfig.h" "$deps/$name/include/"
  cp "$deps/jpeg-build-$cpu/libjpeg.a" "$lib"
  echo "$jpeg_recipe" > "$deps/$name/recipe"
}
for t in "${jpeg_targets[@]}"; do build_jpeg $t; done
