#!/usr/bin/env bash
# Puts the licence notices of everything the Windows program ships into <dist>/licencas and checks
# that every DLL in <dist> is one whose licence is known and allowed: the program's licence is
# proprietary, so nothing GPL-only may be shipped (libstdc++ and libgcc are GPL-3+ with the GCC
# Runtime Library Exception, which allows it). dlib is linked into the program statically: no DLL of
# its own, only its notice.
#   licences.sh <dist> <qt prefix> [<dcmtk prefix> [<dlib prefix>]]
set -euo pipefail
dist="$1"; qt="$2"; dcmtk="${3:-}"; dlib="${4:-}"
out="$dist/licencas"
mkdir -p "$out"
doc=/usr/share/doc
cp "$doc/libqt6core6/copyright" "$out/Qt.txt"
cp /usr/share/common-licenses/LGPL-3 "$out/LGPL-3.txt"
cp /usr/share/common-licenses/GPL-3 "$out/GPL-3.txt"   # LGPL-3 is GPL-3 with additional permissions
cp "$doc/zlib1g/copyright" "$out/zlib.txt"
cp "$doc/libarchive13/copyright" "$out/libarchive.txt"
cp "$doc/gcc-mingw-w64-x86-64-posix-runtime/copyright" "$out/GCC-runtime.txt"
cp "$doc/mingw-w64-x86-64-dev/copyright" "$out/mingw-w64.txt"
cp "$doc/fonts-dejavu-core/copyright" "$out/DejaVu.txt"
cp "$doc/qt6-translations-l10n/copyright" "$out/Qt-traducoes.txt"
[ -n "$dcmtk" ] && cp "$dcmtk/share/doc/dcmtk/COPYRIGHT" "$out/DCMTK.txt"
[ -n "$dlib" ] && cp "$dlib/share/doc/dlib/LICENSE.txt" "$out/dlib.txt"
qtsource="$(dpkg-query -W -f='${source:Package} ${source:Version}' libqt6core6 2>/dev/null || echo "qt6-base 6.4.2")"
dcmtksource="$( [ -n "$dcmtk" ] && cat "$dcmtk/VERSION.debian" 2>/dev/null || true)"
dliblines=""          # one more item of the list below
if [ -n "$dlib" ]; then
  dlibsource="$(cat "$dlib/VERSION.debian" 2>/dev/null || true)"
  dliblines=$'\n'"- dlib${dlibsource:+ ($dlibsource)} (propostas de pontos do traçado), ligada estaticamente ao
  programa, sem DLL própria: Boost Software License 1.0 (dlib.txt)."
fi
cat > "$out/LEIA-ME.txt" <<TXT
Quorvel — avisos de licença das bibliotecas distribuídas com o programa

O Quorvel é distribuído sob licença proprietária. Junto com ele são instalados, como arquivos
separados, os componentes abaixo, cada um sob a sua própria licença (os textos estão nesta pasta):

- Qt 6.4.2 (Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll, Qt6PrintSupport.dll e os plug-ins das pastas
  platforms, styles e imageformats): GNU LGPL versão 3 (LGPL-3.txt, GPL-3.txt, Qt.txt).
  O código-fonte é o do pacote-fonte "$qtsource" do Debian 12, compilado para Windows pelo
  roteiro build-qt-mingw.sh, que acompanha o código-fonte do Quorvel e pode ser pedido ao
  fornecedor. O Quorvel usa as DLLs do Qt como bibliotecas dinâmicas: para usar outra versão do Qt,
  substitua as DLLs desta pasta por outras compatíveis, compiladas a partir do mesmo código ou de
  uma versão modificada dele.
- Traduções do Qt (translations/qtbase_pt_BR.qm): Qt-traducoes.txt.
- zlib 1.2.13 (zlib1.dll): licença zlib (zlib.txt).
- libarchive 3.6.2 (libarchive.dll): licença BSD de 2 cláusulas (libarchive.txt).
- DCMTK${dcmtksource:+ ($dcmtksource)} (leitura de radiografias DICOM): licença BSD (DCMTK.txt).$dliblines
- Bibliotecas de execução do GCC (libstdc++-6.dll, libgcc_s_seh-1.dll): GPL-3 com a exceção da
  biblioteca de execução do GCC (GCC-runtime.txt), que permite distribuí-las com qualquer programa.
- winpthreads (libwinpthread-1.dll): licença MIT/BSD (mingw-w64.txt).
- Fontes DejaVu (pasta fonts): licença das fontes Bitstream Vera e DejaVu (DejaVu.txt).
TXT

# Every DLL shipped, with the licence it is under; an unknown one fails the build.
status=0
while IFS= read -r -d '' dll; do
  name="$(basename "$dll")"
  case "$name" in
    Qt6*.dll|qwindows.dll|qminimal.dll|qwindowsvistastyle.dll|qgif.dll|qico.dll|qjpeg.dll) licence="LGPL-3" ;;
    zlib1.dll) licence="Zlib" ;;
    libarchive.dll) licence="BSD-2-Clause" ;;
    libstdc++-6.dll|libgcc_s_seh-1.dll) licence="GPL-3+ with GCC-exception-3.1" ;;
    libwinpthread-1.dll) licence="MIT" ;;
    quorvel-dicom.dll) licence="proprietary (Quorvel)" ;;
    lib*.dll|*.dll)
      if [ -n "$dcmtk" ] && [ -f "$dcmtk/bin/$name" ]; then licence="BSD-3-Clause (DCMTK)"; else licence=""; fi ;;
  esac
  if [ -z "$licence" ]; then
    echo "licence: $name has no known licence: not shipped until it has one" >&2
    status=1
  else
    echo "licence: $name: $licence" >&2
  fi
done < <(find "$dist" -iname '*.dll' -print0 | sort -z)
exit $status
