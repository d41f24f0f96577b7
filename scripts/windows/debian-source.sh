# Sourced by dcmtk.sh and dlib.sh after they set `name` (the Debian source package): checks the
# arguments, returns at once with the newest finished prefix in the cache, else takes the cache's
# lock, makes a work folder and a private apt state that reads the deb-src lines of Debian 12 from
# the hosts the machine's own apt sources use, and updates it. Leaves `cache`, `toolchain`, `work`,
# `apt` (the state's folder; apt-get -c "$apt/apt.conf"), `start` and log() to the caller, with
# stdout on stderr and the real stdout on fd 3.
(($# == 2)) || { echo "usage: $name.sh <cache-folder> <toolchain-file>" >&2; exit 2; }
mkdir -p "$1"
cache=$(cd "$1" && pwd)
toolchain=$(realpath -e "$2")
exec 3>&1 1>&2          # fd 3 is the real stdout, for the prefix alone
shopt -s nullglob

finished() {            # newest finished prefix in the cache, if any
  local marks=("$cache"/$name-*-mingw64/.complete)
  ((${#marks[@]})) && dirname "$(printf '%s\n' "${marks[@]}" | sort -V | tail -n 1)"
}
if prefix=$(finished); then echo "$prefix" >&3; exit 0; fi
exec 9>"$cache/.$name.lock"; flock 9       # one build at a time; a waiting run reuses its result
if prefix=$(finished); then echo "$prefix" >&3; exit 0; fi
rm -rf "$cache"/.$name-work.*              # leftovers of failed or interrupted builds
work=$(mktemp -d "$cache/.$name-work.XXXXXX")
chmod 755 "$work"                         # apt's download sandbox (user _apt) writes below it
trap 'rc=$?; if ((rc)); then echo "$name.sh: failed, see $work" >&2; else rm -rf "$work"; fi' EXIT
trap 'exit 130' INT TERM HUP
start=$SECONDS
log() { echo "== $name.sh $(date +%T) $*"; }

# --- 1. Debian's source package --------------------------------------------------------------
# deb-src lines for bookworm, bookworm-updates and the security archive, on the hosts the machine's
# own apt sources use (one-line .list files and deb822 .sources files, "URI SUITE" per entry).
sources_in_use() {
  local files=()
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && files+=("$f")
  done
  ((${#files[@]})) || return 0
  awk '
    function flush(  n, m, i, j, u, s) {
      if (types ~ /(^| )deb(-src)?( |$)/ && tolower(enabled) != "no") {
        n = split(uris, u, " "); m = split(suites, s, " ")
        for (i = 1; i <= n; i++) for (j = 1; j <= m; j++) print u[i], s[j]
      }
      types = uris = suites = enabled = field = ""
    }
    FNR == 1 { flush() }
    FILENAME ~ /\.list$/ { sub(/#.*/, ""); gsub(/\[[^]]*\]/, "")
                           if ($1 ~ /^deb(-src)?$/ && NF >= 3) print $2, $3; next }
    /^[ \t]*#/ { next }
    /^[ \t]*$/ { flush(); next }
    /^[ \t]/ { if (field == "uris") uris = uris " " $0; else if (field == "suites") suites = suites " " $0; next }
    { key = tolower($1); sub(/^[^:]*:[ \t]*/, ""); field = ""
      if (key == "types:") types = $0
      else if (key == "uris:") { uris = $0; field = "uris" }
      else if (key == "suites:") { suites = $0; field = "suites" }
      else if (key == "enabled:") enabled = $0 }
    END { flush() }' "${files[@]}"
}
in_use=$(sources_in_use)
uri_of() { awk -v s="$1" '$2 == s { sub(/\/+$/, "", $1); print $1; exit }' <<<"$in_use"; }
archive=$(uri_of bookworm); updates=$(uri_of bookworm-updates); security=$(uri_of bookworm-security)
[ -n "$archive" ] || { echo "$name.sh: the machine's apt sources name no Debian 12 (bookworm) archive" >&2; exit 1; }
apt=$work/apt
mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$work/src"
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
opts=""; [ -f "$keyring" ] && opts="[signed-by=$keyring] "
{ echo "deb-src $opts$archive bookworm main"
  echo "deb-src $opts${updates:-$archive} bookworm-updates main"
  if [ -n "$security" ]; then echo "deb-src $opts$security bookworm-security main"
  else echo "$name.sh: warning: no bookworm-security source on this machine; Debian's newest fixes may be missing" >&2; fi
} >"$apt/sources.list"
# The machine's apt.conf.d still applies (proxies, archive date checks) except its update hooks,
# which would refresh the machine's own caches.
cat >"$apt/apt.conf" <<EOF
#clear APT::Update::Post-Invoke;
#clear APT::Update::Post-Invoke-Success;
Dir::Etc::SourceList "$apt/sources.list";
Dir::Etc::SourceParts "-";
Dir::State::Lists "$apt/lists";
Dir::Cache "$apt/cache";
EOF
log "fetching $name's Debian source (private apt state, $(wc -l <"$apt/sources.list") deb-src lines)"
apt-get -q -c "$apt/apt.conf" update
[ "$(id -u)" = 0 ] && id _apt >/dev/null 2>&1 && chown _apt "$work/src"
