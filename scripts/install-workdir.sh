#!/usr/bin/env bash
# Prepares a working folder: Bolton.cef and Análises.rav are program data and are brought up to
# date; Stats.cef, Normas.json and Análises/ are created only when missing, so counts, the clinic's
# norms and patient files survive every rebuild and re-install. Folders it creates are private to their owner (0700):
# they hold health data. An Análises that already exists (a link to a shared folder) is left as is.
#   install-workdir.sh <build folder> <working folder>
set -euo pipefail
build="$1"
work="$2"
data="$build/data"
[ -e "$work" ] || mkdir -p -m 700 "$work"
cp -f "$data/Bolton.cef" "$work/Bolton.cef"
cp -f "$data/Análises.rav" "$work/Análises.rav"
[ -e "$work/Stats.cef" ] || cp "$data/Stats.cef" "$work/Stats.cef"
[ -e "$work/Normas.json" ] || install -m 600 "$data/Normas.json" "$work/Normas.json"
[ -e "$work/Análises" ] || mkdir -m 700 "$work/Análises"
