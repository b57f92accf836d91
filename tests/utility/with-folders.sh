#!/usr/bin/env bash
# with-folders.sh WORKDIR SCRIPT: runs SCRIPT with the utility module, giving
# it a scratch folder (arg[1]) and the media folder case (arg[2]), fresh.
set -eu
work=$1 script=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib/common.sh"
rm -rf "$work"
mkdir -p "$work/scratch" "$work/media/Music.avi" "$work/media/sub"
for name in song.mp3 SONG.MP3 clip.tar.ogg notes song.mp3.bak .ogg readme.txt; do
  : > "$work/media/$name"
done
exec "$root/scripts/run-lua" tarnic "$script" "$(windows_path "$work/scratch")" "$(windows_path "$work/media")"
