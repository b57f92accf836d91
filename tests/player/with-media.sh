#!/usr/bin/env bash
# with-media.sh [HOST OPTION...] SCRIPT: runs SCRIPT with the player module,
# giving it the Windows path of the test media folder as arg[1].
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib/common.sh"
media="$WIN_BUILD/media"
"$root/tests/player/make-media.sh" "$media"
options=()
while [ $# -gt 0 ] && [ "${1#--}" != "$1" ]; do options+=("$1"); shift; done
script=$1
shift
exec "$root/scripts/run-lua" "${options[@]}" velmora "$script" "$(windows_path "$media")" "$@"
