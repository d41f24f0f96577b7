#!/usr/bin/env bash
# Builds the Debian package (quorvel_<version>_<arch>.deb) with CPack and checks it: lintian
# must report no errors, and the menu entry and AppStream metadata it installs must validate.
#   package.sh [output folder]   (default: the build folder)
# With QUORVEL_PACKAGE_PREBUILT=1 it packs what the build folder already holds (the test suite).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUORVEL_BUILD_DIR:-$root/build}"
out="$(mkdir -p "${1:-$build}" && cd "${1:-$build}" && pwd)"
if [ -z "${QUORVEL_PACKAGE_PREBUILT:-}" ]; then
  bash "$root/scripts/build.sh" --target quorvel quorvel_data quorvel_docs
fi

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
if ! cpack --config "$build/CPackConfig.cmake" -B "$stage/cpack" >"$stage/cpack.log" 2>&1; then
  cat "$stage/cpack.log" >&2
  exit 1
fi
built=("$stage"/cpack/quorvel_*.deb)
deb="$out/$(basename "${built[0]}")"
mv -f "${built[0]}" "$deb"
echo "built $deb"

# Lintian: warnings are shown, any error fails.
lintian --fail-on error --display-info --show-overrides "$deb" | tee "$stage/lintian.txt"
echo "lintian: $(grep -c '^E:' "$stage/lintian.txt" || true) errors, $(grep -c '^W:' "$stage/lintian.txt" || true) warnings"

dpkg-deb -x "$deb" "$stage/root"
desktop-file-validate "$stage"/root/usr/share/applications/*.desktop
appstreamcli validate --no-net "$stage"/root/usr/share/metainfo/*.metainfo.xml >/dev/null
echo "desktop entry and AppStream metadata: valid"
echo "package: $(stat -c %s "$deb") bytes; installed size: $(dpkg-deb -f "$deb" Installed-Size) KiB"
