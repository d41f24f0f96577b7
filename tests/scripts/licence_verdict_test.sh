#!/usr/bin/env bash
# How licence_test.sh judges a Debian licence expression: GPL-only unless some choice of an "or"
# is free of GPL terms, "and" binding tighter than "or" except after a comma, and a GPL with an
# exception or the LGPL never counting as GPL-only.
#   licence_verdict_test.sh <folder of licence_test.sh>
set -euo pipefail
check="$1/licence_test.sh"
failures=0
while IFS='|' read -r expected expression; do
  [ -n "$expression" ] || continue
  got="$(bash "$check" --verdict "$expression")"
  [ "$got" = "$expected" ] || { echo "FAIL: \"$expression\" judged $got, expected $expected"; failures=$((failures + 1)); }
done <<'CASES'
gpl-only|GPL-3
gpl-only|GPL-3+
gpl-only|GPL-2
gpl-only|GPLv2+
gpl-only|AGPL-3+
gpl-only|GPL-2+ and MIT
gpl-only|MIT and (GPL-2)
gpl-only|GPL-2+ or AFL-2.1 and GPL-3
gpl-only|BSD-3-clause or GPL-2, and GPL-3
ok|LGPL-3 or GPL-2
ok|LGPL-3+ or GPL-2+
ok|LGPL-2.1+
ok|LGPL-2+ and LGPL-2.1+ and FSFULLR and CC0-1.0
ok|GPL-2+ or AFL-2.1, and Expat and Tcl-BSDish
ok|LGPL-2.1+ or MPL-1.1 or GPL-2+
ok|BSD-3-clause or GPL-2
ok|GPL-3+ with GCC-Runtime-Library-exception
ok|BSD-3-clause-Cambridge with BINARY LIBRARY-LIKE PACKAGES exception
ok|BSD-2-clause
ok|OFFISeV
ok|Zlib
CASES
[ "$failures" -eq 0 ] || exit 1
echo "licence verdicts: ok"
