#!/usr/bin/env bash
# The package's licence is proprietary, so no library the program or its modules load may be
# GPL-only. For every library ldd shows, the Debian package that holds it (dpkg -S) and the
# licence its copyright file gives to "Files: *"; a dual licence with a non-GPL choice (Qt's
# "LGPL-3 or GPL-2"), the LGPL and GPL with an exception (GCC's runtime) are fine.
#   licence_test.sh <program or module>...
#   licence_test.sh --verdict '<License: expression>'   (how one expression is judged)
set -euo pipefail

# The verdict on one DEP-5 licence expression: "ok" or "gpl-only". "and" binds tighter than "or"
# unless a comma comes before it: "GPL-2+ or AFL-2.1, and Expat" is (GPL-2+ or AFL-2.1) and Expat.
verdict() {
  awk -v expression="$1" 'BEGIN {
    e = tolower(expression)
    gsub(/[()]/, " ", e)
    groups = split(e, group, /, *and /)
    for (g = 1; g <= groups; g++) {
      choices = split(group[g], choice, / or /)
      fine = 0
      for (c = 1; c <= choices; c++) {
        terms = split(choice[c], term, / and /)
        all = 1
        for (t = 1; t <= terms; t++) {
          x = term[t]
          gsub(/^[ \t]+|[ \t]+$/, "", x)
          # GPL or AGPL of any version, with no exception attached.
          if (x ~ /^a?gpl([- ]|v|$)/ && x !~ / with /)
            all = 0
        }
        if (all)
          fine = 1
      }
      if (!fine) {
        print "gpl-only"
        exit
      }
    }
    print "ok"
  }'
}

if [ "${1:-}" = --verdict ]; then
  verdict "$2"
  exit 0
fi
[ "$#" -gt 0 ] || { echo "usage: licence_test.sh <program or module>..."; exit 2; }

# The licence of the stanza whose Files names `pattern` ("*" unless told) in a machine-readable
# copyright file (empty when it has none).
files_licence() {
  awk -v wanted="$2" 'BEGIN { RS = ""; FS = "\n" }
  {
    files = ""; licence = ""; field = ""
    for (i = 1; i <= NF; i++) {
      line = $i
      if (line ~ /^[A-Za-z-]+:/) {
        field = tolower(substr(line, 1, index(line, ":") - 1))
        value = substr(line, index(line, ":") + 1)
        if (field == "files") files = value
        if (field == "license") licence = value
      } else if (field == "files") {
        files = files " " line
      }
    }
    n = split(files, pattern, /[ \t]+/)
    for (p = 1; p <= n; p++)
      if (pattern[p] == wanted) {
        gsub(/^[ \t]+|[ \t]+$/, "", licence)
        print licence
        exit
      }
  }' "$1"
}

# Packages whose "Files: *" covers their programs while the library itself has a stanza of its
# own: the pattern of the library's sources.
library_files() {
  case "$1" in
    libacl1) echo 'libacl/*.c' ;;  # setfacl and getfacl are GPL-2+, the library LGPL-2+
    libjpeg62-turbo) echo 'jcapimin.c' ;;  # no "Files: *"; the library's sources are the IJG's
    *) echo '*' ;;
  esac
}

# Copyright files that are not machine-readable, read by hand: the library's licence as the
# file states it, and a phrase the file must still hold for that reading to stand.
reviewed() {
  case "$1" in
    libc6) echo "LGPL-2.1+|under the terms of the GNU Lesser General" ;;
    libgcc-s1 | libstdc++6 | libgomp1 | libgfortran5 | libquadmath0) echo "GPL-3+ with GCC-Runtime-Library-exception|GCC RUNTIME LIBRARY EXCEPTION" ;;
    libgcrypt20) echo "LGPL-2.1+|License (library): LGPLv2.1+" ;;
    libfontconfig1 | libx11-6 | libxau6 | libxcb1 | libxdmcp6 | libxext6 | libxkbcommon0 | libxrandr2 | libxrender1)
      echo "MIT|Permission" ;;
    *) return 1 ;;
  esac
}

# The package that holds a library, whichever of its names (link or file, /lib or /usr/lib)
# dpkg knows.
package_of() {
  local path="$1" real candidate
  real="$(readlink -f "$path")"
  for candidate in "$path" "$real" "${path#/usr}" "${real#/usr}" "/usr$path" "/usr$real"; do
    if out="$(dpkg -S "$candidate" 2>/dev/null)"; then
      echo "${out%%:*}" | sed 's/,.*//'
      return 0
    fi
  done
  return 1
}

failures=0
declare -A seen=()
for object in "$@"; do
  [ -f "$object" ] || { echo "FAIL: $object does not exist"; failures=$((failures + 1)); continue; }
  if ldd "$object" | grep -q 'not found'; then
    echo "FAIL: $object needs a library that is not installed"
    failures=$((failures + 1))
  fi
  while read -r library; do
    package="$(package_of "$library")" || { echo "FAIL: no Debian package holds $library"; failures=$((failures + 1)); continue; }
    package="${package%%:*}"
    [ -z "${seen[$package]:-}" ] || continue
    seen[$package]=1
    copyright="$(readlink -f "/usr/share/doc/$package")/copyright"
    [ -f "$copyright" ] || { echo "FAIL: $package has no copyright file"; failures=$((failures + 1)); continue; }
    if head -n 1 "$copyright" | grep -q '^Format: .*copyright-format'; then
      files="$(library_files "$package")"
      licence="$(files_licence "$copyright" "$files")"
      [ -n "$licence" ] || { echo "FAIL: $package: no licence for Files: $files in $copyright"; failures=$((failures + 1)); continue; }
    elif entry="$(reviewed "$package")"; then
      licence="${entry%%|*}"
      phrase="${entry#*|}"
      if ! grep -qiF "$phrase" "$copyright"; then
        echo "FAIL: $package: $copyright no longer says \"$phrase\"; read it again"
        failures=$((failures + 1))
        continue
      fi
    else
      echo "FAIL: $package: $copyright is not machine-readable and has not been read by hand"
      failures=$((failures + 1))
      continue
    fi
    result="$(verdict "$licence")"
    printf '%-24s %-8s %s\n' "$package" "$result" "$licence"
    [ "$result" = ok ] || { echo "FAIL: $package is GPL-only ($licence)"; failures=$((failures + 1)); }
  done < <(ldd "$object" | awk '$2 == "=>" && $3 ~ /^\// { print $3 }')
done
[ "${#seen[@]}" -gt 0 ] || { echo "FAIL: ldd listed no library"; exit 1; }
[ "$failures" -eq 0 ] || exit 1
echo "licences: ok (${#seen[@]} packages)"
