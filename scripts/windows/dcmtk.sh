#!/usr/bin/env bash
# Cross-builds DCMTK for Windows x86_64 (mingw-w64) from Debian 12's own source package, with
# Debian's patches, for the DICOM reader plugin: ofstd, oflog, dcmdata, dcmimgle, dcmimage (dcmjpeg
# and dcmjpls link it), dcmjpeg with its IJG libraries and dcmjpls with its CharLS, as DLLs with
# DCMTK's CMake package. No third-party libraries, no tools, no tests.
#
#   scripts/windows/dcmtk.sh <cache-folder> <toolchain-file>
#
# The last line of stdout is the prefix, <cache>/dcmtk-<version>-mingw64; everything else goes to
# stderr. A consumer passes -DDCMTK_DIR=<prefix>/cmake (CMAKE_PREFIX_PATH does not do: the mingw
# toolchain file looks for packages only under its find root). A program ships from <prefix>/bin
# libofstd, liboflog, libdcmdata, libdcmimgle, libdcmimage, libdcmjpeg, libijg8, libijg12, libijg16,
# libdcmjpls and libdcmtkcharls .dll (libi2d.dll comes with dcmdata and is not needed), and
# <prefix>/share/doc/dcmtk/COPYRIGHT. A finished prefix holds .complete and is never rebuilt:
# delete it to pick up a newer Debian revision. Only the machine's own Debian archive is contacted, through a
# private apt state; /etc/apt is only read. Needs dpkg-dev, cmake, ninja, wine, the mingw compilers.
set -euo pipefail
name=dcmtk
source "$(dirname "$0")/debian-source.sh"
(cd "$work/src" && apt-get -q -c "$apt/apt.conf" source --download-only dcmtk)
dsc=("$work"/src/dcmtk_*.dsc)
((${#dsc[@]} == 1)) || { echo "dcmtk.sh: expected one dcmtk .dsc, got ${#dsc[@]}" >&2; exit 1; }
# apt has checked the .dsc against the Sources index signed with Debian's archive key; dpkg-source
# checks the tarballs against the .dsc. The .dsc's own signature is an uploader's key from
# debian-keyring, which this machine does not have: dpkg-source then only warns, so no --no-check.
src=$work/src/dcmtk
dpkg-source -x "${dsc[0]}" "$src"
debver=$(sed -n 's/^Version: *//p' "${dsc[0]}")
# DCMTK 3.6.7's lossless JPEG-LS encoder pads the uncompressed buffer instead of the compressed one
# (fixed upstream later), writing a byte past its end: on Linux the byte lands unseen, under
# Windows' heap it lands in the compressed stream (its LSE marker) and the image no longer decodes.
# Reading is unaffected; the fix keeps encoding (the proof below) right too.
fix='fixPaddingIfNecessary(OFstatic_cast(Uint8 *, compressed_buffer), compressed_buffer_size'
sed -i "s/fixPaddingIfNecessary(OFstatic_cast(Uint8 \*, buffer), compressed_buffer_size/$fix/" \
  "$src/dcmjpls/libsrc/djcodece.cc"
grep -qF "$fix" "$src/dcmjpls/libsrc/djcodece.cc" || { echo "dcmtk.sh: JPEG-LS padding fix did not apply" >&2; exit 1; }
version=$(sed -n '1{s/[[:space:]]*$//;p;q}' "$src/VERSION")         # upstream, e.g. 3.6.7
[[ $version =~ ^[0-9]+(\.[0-9]+)+$ ]] || { echo "dcmtk.sh: odd DCMTK version '$version'" >&2; exit 1; }
prefix=$cache/dcmtk-$version-mingw64
stage=$work/dest$prefix         # installed with DESTDIR, renamed to $prefix once proven
log "DCMTK $version, Debian $debver"

# --- 2. Cross-build ---------------------------------------------------------------------------
# DCMTK runs its configure programs (arith.h) through its own Wine setup, which puts
# WINE_CPP_RUNTIME on the PATH of a private Wine prefix; it looks for libstdc++ only under the
# find root, where Debian's mingw does not keep it, so it is given here: the C++ runtime's folder
# and the one with libwinpthread, as the compiler of the toolchain file reports them.
cat >"$work/wine-runtime.cmake" <<'EOF'
foreach(dll libstdc++-6.dll libwinpthread-1.dll)
  execute_process(COMMAND "${CMAKE_CXX_COMPILER}" -print-file-name=${dll} OUTPUT_VARIABLE f OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(d "${f}" DIRECTORY)
  get_filename_component(d "${d}" REALPATH)
  list(APPEND dirs "${d}")
endforeach()
file(WRITE "${CMAKE_BINARY_DIR}/runtime-dirs" "${dirs}\n")
string(REPLACE ";" ";Z:" rt "Z:${dirs}")
string(REPLACE "/" "\\" rt "${rt}")
set(WINE_CPP_RUNTIME "${rt}" CACHE INTERNAL "C++ runtime folders, Wine paths")
EOF
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="           # no Mono/Gecko prompts
off=(-DDCMTK_WITH_{TIFF,PNG,XML,ZLIB,OPENSSL,SNDFILE,ICONV,STDLIBC_ICONV,ICU,WRAP,OPENJPEG,DOXYGEN}=OFF)
log "configuring"
# Debian's own choices are kept where they touch behaviour: STL classes, C++17, DCMTK's private
# tags, -DENABLE_DCMJPLS_INTERLEAVE_NONE (Debian bug 1001703). On Windows the data dictionary is
# compiled in; DCMTK_WIDE_CHAR_FILE_IO_FUNCTIONS gives OFFilename its wchar_t/UTF-8 names (_wfopen).
# CMAKE_INSTALL_DATADIC is the folder Debian's 03_datadic_install.patch installs dictionaries to.
nice -n 10 cmake -G Ninja -S "$src" -B "$work/build" -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PROJECT_DCMTK_INCLUDE="$work/wine-runtime.cmake" \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_DOCDIR=share/doc/dcmtk -DCMAKE_INSTALL_DATADIC=share/dcmtk \
  -DDCMTK_MODULES="ofstd;oflog;dcmdata;dcmimgle;dcmimage;dcmjpeg;dcmjpls" \
  -DBUILD_SHARED_LIBS=ON -DBUILD_APPS=OFF -DDCMTK_ENABLE_MANPAGES=OFF \
  "${off[@]}" \
  -DDCMTK_WITH_THREADS=ON -DDCMTK_DEFAULT_DICT=builtin -DDCMTK_WIDE_CHAR_FILE_IO_FUNCTIONS=ON \
  -DDCMTK_ENABLE_STL=ON -DCMAKE_CXX_STANDARD=17 -DDCMTK_ENABLE_PRIVATE_TAGS=ON \
  -DCMAKE_CXX_FLAGS=-DENABLE_DCMJPLS_INTERLEAVE_NONE
log "building"
nice -n 10 cmake --build "$work/build" -j 2
DESTDIR=$work/dest nice -n 10 cmake --install "$work/build" --strip
rm -rf "$stage/lib/pkgconfig"                   # dcmtk.pc names the prefix absolutely; CMake's package does not
# Of DCMTK's documents only the licence is kept (it covers the IJG and CharLS code too): the
# installer ships it. The rest is 3 MB of release notes.
find "$stage/share/doc/dcmtk" -mindepth 1 -maxdepth 1 ! -name COPYRIGHT -exec rm -r {} +
cmp -s "$src/COPYRIGHT" "$stage/share/doc/dcmtk/COPYRIGHT"
echo "$debver" >"$stage/VERSION.debian"
built=$((SECONDS - start))

# --- 3. Proof: a cross-built program writes a 16-bit image, compresses it, reads it back ---------
log "proving the prefix"
mkdir -p "$work/prove"
cat >"$work/prove/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.16)
project(prove CXX)
set(CMAKE_CXX_STANDARD 20)
find_package(DCMTK CONFIG REQUIRED)
add_executable(prove prove.cpp)
target_link_libraries(prove PRIVATE DCMTK::dcmdata DCMTK::dcmjpeg DCMTK::dcmjpls DCMTK::dcmimgle)
EOF
cat >"$work/prove/prove.cpp" <<'EOF'
// Writes a 3x2 16-bit image under a name outside the Windows ANSI code page, stores it in each
// transfer syntax the reader meets, and prints the pixel at (0,0) DicomImage reads back.
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dctk.h>
#include <dcmtk/dcmdata/dcrledrg.h>
#include <dcmtk/dcmdata/dcrleerg.h>
#include <dcmtk/dcmimgle/dcmimage.h>
#include <dcmtk/dcmjpeg/djdecode.h>
#include <dcmtk/dcmjpeg/djencode.h>
#include <dcmtk/dcmjpls/djdecode.h>
#include <dcmtk/dcmjpls/djencode.h>
#include <dcmtk/oflog/oflog.h>
#include <cstdio>
#include <string>

int main()
{
    OFLog::configure(OFLogger::WARN_LOG_LEVEL);
    DcmRLEDecoderRegistration::registerCodecs();
    DcmRLEEncoderRegistration::registerCodecs();
    DJDecoderRegistration::registerCodecs();
    DJEncoderRegistration::registerCodecs();
    DJLSDecoderRegistration::registerCodecs();
    DJLSEncoderRegistration::registerCodecs();
    const Uint16 pixels[6] = {4660, 0, 65535, 1, 32768, 40000};   // 4660 = 0x1234
    const struct { const char* name; E_TransferSyntax xfer; } cases[] = {
        {"explicit", EXS_LittleEndianExplicit}, {"rle", EXS_RLELossless},
        {"jpeg-lossless", EXS_JPEGProcess14SV1}, {"jpeg-ls", EXS_JPEGLSLossless}};
    int failures = 0;
    for (const auto& c : cases) {
        DcmFileFormat file;
        DcmDataset& ds = *file.getDataset();
        char uid[100];
        ds.putAndInsertString(DCM_SOPClassUID, UID_SecondaryCaptureImageStorage);
        ds.putAndInsertString(DCM_SOPInstanceUID, dcmGenerateUniqueIdentifier(uid, SITE_INSTANCE_UID_ROOT));
        ds.putAndInsertString(DCM_PhotometricInterpretation, "MONOCHROME2");
        ds.putAndInsertUint16(DCM_SamplesPerPixel, 1);
        ds.putAndInsertUint16(DCM_Rows, 2);
        ds.putAndInsertUint16(DCM_Columns, 3);
        ds.putAndInsertUint16(DCM_BitsAllocated, 16);
        ds.putAndInsertUint16(DCM_BitsStored, 16);
        ds.putAndInsertUint16(DCM_HighBit, 15);
        ds.putAndInsertUint16(DCM_PixelRepresentation, 0);
        ds.putAndInsertUint16Array(DCM_PixelData, pixels, 6);
        // UTF-8 name (á, Ł, Ω): converted to UTF-16 and opened with _wfopen.
        const std::string name = std::string("An\xC3\xA1lises-\xC5\x81\xCE\xA9-") + c.name + ".dcm";
        const OFFilename path(name.c_str(), OFTrue);
        OFCondition cond = ds.chooseRepresentation(c.xfer, nullptr);
        if (cond.good())
            cond = file.saveFile(path, c.xfer);
        DcmFileFormat back;
        if (cond.good())
            cond = back.loadFile(path);
        if (cond.bad()) {
            std::printf("%s: %s\n", c.name, cond.text());
            ++failures;
            continue;
        }
        DicomImage image(&back, back.getDataset()->getOriginalXfer(), CIF_IgnoreModalityTransformation);
        const DiPixel* inter = image.getInterData();
        if (image.getStatus() != EIS_Normal || !inter || inter->getRepresentation() != EPR_Uint16) {
            std::printf("%s: %s\n", c.name, DicomImage::getString(image.getStatus()));
            ++failures;
            continue;
        }
        const Uint16* read = static_cast<const Uint16*>(inter->getData());
        bool same = true;
        for (int i = 0; i < 6; ++i)
            same = same && read[i] == pixels[i];
        std::printf("%s: pixel(0,0)=%u %s\n", c.name, unsigned(read[0]), same ? "all-equal" : "DIFFERENT");
        failures += !same;
    }
    return failures;
}
EOF
nice -n 10 cmake -G Ninja -S "$work/prove" -B "$work/prove/build" -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release -DDCMTK_DIR="$stage/cmake" >/dev/null
nice -n 10 cmake --build "$work/prove/build"
# The DLLs of the prefix and the mingw runtime on WINEPATH, as the toolchain's wine-run.sh forms it.
winpath() { printf 'Z:%s' "$(realpath "$1")" | sed 's,/,\\,g'; }
IFS=';' read -ra rt <"$work/build/runtime-dirs"
mkdir -p "$work/run"
out=$(cd "$work/run" && WINEPREFIX="$work/build/CMakeFiles/wineprefix" \
      WINEPATH="$(winpath "$stage/bin");$(winpath "${rt[0]}");$(winpath "${rt[1]}")" \
      wine "$work/prove/build/prove.exe" | tr -d '\r') || { echo "$out"; echo "dcmtk.sh: the proof program failed" >&2; exit 1; }
echo "$out"
expected="explicit: pixel(0,0)=4660 all-equal
rle: pixel(0,0)=4660 all-equal
jpeg-lossless: pixel(0,0)=4660 all-equal
jpeg-ls: pixel(0,0)=4660 all-equal"
[ "$out" = "$expected" ] || { echo "dcmtk.sh: unexpected output from the proof program" >&2; exit 1; }
# The Unicode name reached the disk as such (Wine keeps names as UTF-8), not as ANSI '?'s.
[ -f "$work/run/Análises-ŁΩ-jpeg-ls.dcm" ] || { ls "$work/run"; echo "dcmtk.sh: the Unicode file name was lost" >&2; exit 1; }

# The DLLs import Windows system DLLs, the gcc/mingw runtime (GCC runtime exception, winpthreads'
# MIT licence) and each other only.
bad=$(for dll in "$stage"/bin/*.dll; do
        x86_64-w64-mingw32-objdump -p "$dll" | sed -n 's/^[[:space:]]*DLL Name: //p'
      done | sort -u | grep -viE '^(kernel32|user32|advapi32|ws2_32|wsock32|netapi32|iphlpapi|shell32|ole32|msvcrt|libstdc\+\+-6|libgcc_s_seh-1|libwinpthread-1|api-ms-win-[a-z0-9-]+)\.dll$' |
      grep -vixF -f <(cd "$stage/bin" && ls *.dll) || true)
[ -z "$bad" ] || { echo "dcmtk.sh: unexpected imports: $bad" >&2; exit 1; }

touch "$stage/.complete"
rm -rf "$prefix"                # never complete here (finished() would have said), so a leftover
mv -T "$stage" "$prefix"
log "built in ${built}s (all: $((SECONDS - start))s); $(du -sh "$prefix" | cut -f1) in $prefix"
log "DLLs: $(cd "$prefix/bin" && echo *.dll)"
echo "$prefix" >&3
