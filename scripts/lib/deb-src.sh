# Makes `apt-get source PACKAGE` work: where the machine has no deb-src entry,
# derives one from its own sources (same URIs and suites), so no address is
# written in the repository. Sourced, not run; needs root the first time.

ensure_deb_src() {
  local package=$1 f out
  apt-get source --print-uris "$package" >/dev/null 2>&1 && return 0
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    case "$f" in *-deb-src.sources) continue ;; esac
    grep -q '^Types:.*\bdeb\b' "$f" || continue
    out="${f%.sources}-deb-src.sources"
    sed -e 's/^Types:.*/Types: deb-src/' "$f" > "$out"
  done
  if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' > /etc/apt/sources.list.d/main-deb-src.list
  fi
  apt-get update -q >&2
}
