#!/usr/bin/env bash
# Cross-builds dlib for Windows x86_64 (mingw-w64) from Debian 12's own source package, with
# Debian's patches, for the landmark proposals (shape predictor, serialization, threads): the
# library alone, static, with no GUI, no image codecs, no BLAS/LAPACK, no CUDA, no FFT libraries
# and no SQLite, built for the x86-64 baseline (SSE2, no AVX) that every Windows PC runs.
#
#   scripts/windows/dlib.sh <cache-folder> <toolchain-file>
#
# The last line of stdout is the prefix, <cache>/dlib-<version>-mingw64; everything else goes to
# stderr. A consumer passes -Ddlib_DIR=<prefix>/lib/cmake/dlib (CMAKE_PREFIX_PATH does not do: the
# mingw toolchain file looks for packages only under its find root) and links dlib::dlib, which
# brings ws2_32 and winmm along. Nothing is shipped as a file: the notice to ship is
# <prefix>/share/doc/dlib/LICENSE.txt (Boost Software License 1.0); <prefix>/VERSION.debian holds
# Debian's version of the source. A finished prefix holds .complete and is never rebuilt: delete it
# to pick up a newer Debian revision. Only the machine's own Debian archive is contacted, through
# a private apt state; /etc/apt is only read. Needs apt, cmake, ninja, wine, the mingw compilers.
set -euo pipefail
name=dlib
source "$(dirname "$0")/debian-source.sh"
# Debian's dlib source has a second upstream tarball of 200 MB of trained models, which is not
# wanted here: the .dsc, the library's tarball and Debian's changes are fetched one by one, each
# checked against its SHA-256 in the Sources index signed with Debian's archive key (apt-helper
# refuses a file that differs), and the tarballs again against the .dsc, as dpkg-source would.
uris=$(cd "$work/src" && apt-get -qq -c "$apt/apt.conf" --print-uris source dlib)
fetch() {               # fetch <file name pattern>: the one file of the package that matches
  local line uri name hash
  line=$(awk -v p="$1" '{ n = $2 } n ~ p' <<<"$uris")
  [ "$(grep -c . <<<"$line")" = 1 ] || { echo "dlib.sh: expected one source file like $1, got: $line" >&2; exit 1; }
  read -r uri name _ hash <<<"$line"
  uri=${uri#\'}; uri=${uri%\'}
  [[ $hash == SHA256:* && $name != */* ]] || { echo "dlib.sh: odd source entry: $line" >&2; exit 1; }
  /usr/lib/apt/apt-helper -c "$apt/apt.conf" download-file "$uri" "$work/src/$name" "$hash" >&2
  echo "$name"
}
dsc=$(fetch '^dlib_[^_]*\.dsc$')
orig=$(fetch '^dlib_[^_]*\.orig\.tar\.[a-z0-9]+$')
debian=$(fetch '^dlib_[^_]*\.debian\.tar\.[a-z0-9]+$')
sums=$(sed -n '/^Checksums-Sha256:/,/^[^ ]/{/^ /p}' "$work/src/$dsc" |
       awk -v a="$orig" -v b="$debian" '$3 == a || $3 == b { print $1 "  " $3 }')
[ "$(grep -c . <<<"$sums")" = 2 ] || { echo "dlib.sh: the .dsc does not list $orig and $debian" >&2; exit 1; }
(cd "$work/src" && sha256sum -c --strict <<<"$sums")
debver=$(sed -n 's/^Version: *//p' "$work/src/$dsc")
# What dpkg-source -x does for a "3.0 (quilt)" package, without the models' tarball: the upstream
# tarball, Debian's folder over it, Debian's patches in the order of their series.
src=$work/src/dlib
mkdir "$src"
tar -C "$src" --strip-components=1 -xf "$work/src/$orig"
tar -C "$src" -xf "$work/src/$debian"
[ "$(cat "$src/debian/source/format")" = "3.0 (quilt)" ] || { echo "dlib.sh: unexpected source format" >&2; exit 1; }
if [ -f "$src/debian/patches/series" ]; then
  while read -r patch level; do
    [ -n "$patch" ] && [[ $patch != \#* ]] || continue
    patch -d "$src" -s -N -f --no-backup-if-mismatch ${level:--p1} <"$src/debian/patches/$patch"
  done <"$src/debian/patches/series"
fi
major=$(sed -n 's/^set(CPACK_PACKAGE_VERSION_MAJOR "\([0-9]*\)")/\1/p' "$src/dlib/CMakeLists.txt")
minor=$(sed -n 's/^set(CPACK_PACKAGE_VERSION_MINOR "\([0-9]*\)")/\1/p' "$src/dlib/CMakeLists.txt")
version=$major.$minor                                                  # upstream, e.g. 19.24
[[ $version =~ ^[0-9]+\.[0-9]+$ ]] || { echo "dlib.sh: odd dlib version '$version'" >&2; exit 1; }
prefix=$cache/dlib-$version-mingw64
stage=$work/dest$prefix         # installed with DESTDIR, renamed to $prefix once proven
log "dlib $version, Debian $debver"

# --- 2. Cross-build ---------------------------------------------------------------------------
# Every optional part off, so that configure finds nothing by chance; SSE4 and AVX stay off (the
# compiler's x86-64 default is SSE2). DLIB_NO_GUI_SUPPORT also leaves out the GUI's Windows
# libraries (comctl32, gdi32, imm32).
off=(-DDLIB_{USE_BLAS,USE_LAPACK,USE_CUDA,USE_MKL_FFT,USE_MKL_SEQUENTIAL,USE_MKL_WITH_TBB}=OFF
     -DDLIB_{PNG,JPEG,GIF,WEBP}_SUPPORT=OFF -DDLIB_LINK_WITH_SQLITE3=OFF -DDLIB_USE_FFTW=OFF
     -DDLIB_ENABLE_ASSERTS=OFF -DDLIB_ENABLE_STACK_TRACE=OFF
     -DUSE_SSE4_INSTRUCTIONS=OFF -DUSE_AVX_INSTRUCTIONS=OFF)
# Debian's fix-soname.patch wants the SOVERSION its rules give (the static library has none).
soversion=$(sed -n 's/^LIB_SOVERSION *= *//p' "$src/debian/rules")
[[ $soversion =~ ^[0-9.]+$ ]] || { echo "dlib.sh: no LIB_SOVERSION in debian/rules" >&2; exit 1; }
log "configuring"
nice -n 10 cmake -G Ninja -S "$src" -B "$work/build" -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -DSOVERSION="$soversion" \
  -DDLIB_NO_GUI_SUPPORT=ON "${off[@]}"
# configure turns an option off itself when it finds nothing; what it kept is in config.h.
on=$(grep -E '^#define (DLIB_(USE_|[A-Z]+_SUPPORT|LINK_)|ENABLE_ASSERTS)' "$work/build/dlib/config.h" || true)
[ -z "$on" ] || { echo "dlib.sh: optional parts still on: $on" >&2; exit 1; }
grep -q '^#define DLIB_NO_GUI_SUPPORT' "$work/build/dlib/config.h" || { echo "dlib.sh: the GUI is still on" >&2; exit 1; }
log "building"
nice -n 10 cmake --build "$work/build" --target dlib -j 2
DESTDIR=$work/dest nice -n 10 cmake --install "$work/build" >/dev/null   # 1,500 headers
rm -rf "$stage/lib/pkgconfig"                   # dlib-1.pc names the prefix absolutely; CMake's package does not
mkdir -p "$stage/share/doc/dlib"
cp "$src/dlib/LICENSE.txt" "$stage/share/doc/dlib/LICENSE.txt"
grep -q "Boost Software License - Version 1.0" "$stage/share/doc/dlib/LICENSE.txt" ||
  { echo "dlib.sh: dlib's licence is no longer the Boost Software License 1.0" >&2; exit 1; }
echo "$debver" >"$stage/VERSION.debian"
built=$((SECONDS - start))

# --- 3. Proof: a cross-built program trains a shape predictor on two threads, writes it to memory,
# reads it back and places the three corners of a square it has not seen ---------------------------
log "proving the prefix"
mkdir -p "$work/prove"
cat >"$work/prove/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.16)
project(prove CXX)
set(CMAKE_CXX_STANDARD 20)
find_package(dlib REQUIRED)
add_executable(prove prove.cpp)
target_link_libraries(prove PRIVATE dlib::dlib)
EOF
cat >"$work/prove/prove.cpp" <<'EOF'
#include <dlib/image_processing.h>
#include <cstdio>
#include <sstream>

static dlib::full_object_detection square(dlib::array2d<unsigned char>& img, long x, long y, long s)
{
    img.set_size(64, 64);
    for (long r = 0; r < 64; ++r)
        for (long c = 0; c < 64; ++c)
            img[r][c] = (c >= x && c < x + s && r >= y && r < y + s) ? 220 : 30 + (r * 7 + c * 3) % 20;
    return {dlib::rectangle(x - 4, y - 4, x + s + 4, y + s + 4), {{x, y}, {x + s - 1, y}, {x, y + s - 1}}};
}

int main()
{
    dlib::array<dlib::array2d<unsigned char>> images(6);
    std::vector<std::vector<dlib::full_object_detection>> shapes;
    const long boxes[6][3] = {{10, 12, 20}, {20, 8, 24}, {14, 20, 18}, {6, 6, 30}, {25, 25, 22}, {12, 30, 16}};
    for (int i = 0; i < 6; ++i)
        shapes.push_back({square(images[i], boxes[i][0], boxes[i][1], boxes[i][2])});
    dlib::shape_predictor_trainer trainer;
    trainer.set_num_threads(2);
    trainer.set_cascade_depth(6);
    trainer.set_tree_depth(3);
    trainer.set_oversampling_amount(20);
    std::ostringstream out;
    dlib::serialize(trainer.train(images, shapes), out);
    std::istringstream in(out.str());
    dlib::shape_predictor sp;
    dlib::deserialize(sp, in);
    dlib::array2d<unsigned char> img;
    const dlib::full_object_detection truth = square(img, 16, 14, 21), got = sp(img, truth.get_rect());
    for (unsigned long i = 0; i < got.num_parts(); ++i)
        std::printf("part %lu off by %.0f px\n", i, dlib::length(got.part(i) - truth.part(i)));
}
EOF
nice -n 10 cmake -G Ninja -S "$work/prove" -B "$work/prove/build" -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -Ddlib_DIR="$stage/lib/cmake/dlib" >/dev/null
nice -n 10 cmake --build "$work/prove/build"
# The mingw runtime on WINEPATH, from where the toolchain file's compiler keeps it.
cxx=$(sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' "$work"/prove/build/CMakeFiles/*/CMakeCXXCompiler.cmake)
winpath() { printf 'Z:%s' "$(realpath "$1")" | sed 's,/,\\,g'; }
rt=()
for dll in libstdc++-6.dll libwinpthread-1.dll; do
  rt+=("$(winpath "$(dirname "$("$cxx" -print-file-name="$dll")")")")
done
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="           # no Mono/Gecko prompts
out=$(cd "$work/prove" && WINEPREFIX="$work/wineprefix" WINEPATH="${rt[0]};${rt[1]}" \
      wine "$work/prove/build/prove.exe" | tr -d '\r') || { echo "$out"; echo "dlib.sh: the proof program failed" >&2; exit 1; }
echo "$out"
expected="part 0 off by 0 px
part 1 off by 0 px
part 2 off by 0 px"
[ "$out" = "$expected" ] || { echo "dlib.sh: unexpected output from the proof program" >&2; exit 1; }
# With dlib linked in, a program imports Windows system DLLs and the gcc/mingw runtime only.
bad=$(x86_64-w64-mingw32-objdump -p "$work/prove/build/prove.exe" | sed -n 's/^[[:space:]]*DLL Name: //p' |
      grep -viE '^(kernel32|user32|advapi32|ws2_32|winmm|shell32|ole32|msvcrt|libstdc\+\+-6|libgcc_s_seh-1|libwinpthread-1|api-ms-win-[a-z0-9-]+)\.dll$' || true)
[ -z "$bad" ] || { echo "dlib.sh: unexpected imports: $bad" >&2; exit 1; }

touch "$stage/.complete"
rm -rf "$prefix"                # never complete here (finished() would have said), so a leftover
mv -T "$stage" "$prefix"
log "built in ${built}s (all: $((SECONDS - start))s); $(du -sh "$prefix" | cut -f1) in $prefix"
echo "$prefix" >&3
