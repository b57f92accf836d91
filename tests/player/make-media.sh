#!/usr/bin/env bash
# make-media.sh DIR: makes the player tests' media in DIR, once. Pictures are
# known patterns so that drawn pixels can be compared: raw BGR files give the
# exact colours, compressed ones the same colours within the codec's slack.
set -euo pipefail
dir=$1
[ -f "$dir/.complete" ] && exit 0
rm -rf "$dir"
mkdir -p "$dir"
cd "$dir"

ff() { ffmpeg -v error -y -nostdin "$@"; }
# Four solid quadrants, clockwise from the top left: red, lime, white, blue.
quadrants() {
  local w=$1 h=$2 hw=$(($1 / 2)) hh=$(($2 / 2))
  printf 'color=c=black:s=%sx%s:r=%s,format=bgr24' "$w" "$h" "$3"
  printf ',drawbox=x=0:y=0:w=%s:h=%s:color=red:t=fill' "$hw" "$hh"
  printf ',drawbox=x=%s:y=0:w=%s:h=%s:color=lime:t=fill' "$hw" "$((w - hw))" "$hh"
  printf ',drawbox=x=0:y=%s:w=%s:h=%s:color=blue:t=fill' "$hh" "$hw" "$((h - hh))"
  printf ',drawbox=x=%s:y=%s:w=%s:h=%s:color=white:t=fill' "$hw" "$hh" "$((w - hw))" "$((h - hh))"
}
tone() { printf 'sine=f=440:r=44100:d=%s' "$1"; }

# Raw BGR video, exact pixels; widths with and without DIB row padding.
for size in 322x240 640x480 854x480; do
  ff -f lavfi -i "$(quadrants "${size%x*}" "${size#*x}" 5)" -t 2 -c:v rawvideo -pix_fmt bgr24 "quadrants-$size.avi"
done
ff -f lavfi -i "$(quadrants 1920 1080 1)" -t 2 -c:v rawvideo -pix_fmt bgr24 quadrants-1920x1080.avi

# Video with sound in the usual containers, 4 seconds.
pattern=$(quadrants 320 240 25)
ff -f lavfi -i "$pattern" -f lavfi -i "$(tone 4)" -t 4 -c:v mpeg4 -q:v 2 -c:a libmp3lame clip.avi
ff -f lavfi -i "$pattern" -f lavfi -i "$(tone 4)" -t 4 -c:v libx264 -pix_fmt yuv420p -c:a aac clip.mp4
ff -f lavfi -i "$pattern" -f lavfi -i "$(tone 4)" -t 4 -c:v libx264 -pix_fmt yuv420p -c:a aac clip.mkv
ff -f lavfi -i "$pattern" -f lavfi -i "$(tone 4)" -t 4 -c:v libvpx -b:v 500k -c:a libvorbis clip.webm
ff -f lavfi -i "$pattern" -t 4 -c:v mpeg4 -q:v 2 silent.avi

# Audio only.
ff -f lavfi -i "$(tone 4)" tone.wav
ff -f lavfi -i "$(tone 4)" -c:a libmp3lame tone.mp3
ff -f lavfi -i "$(tone 4)" -c:a libvorbis tone.ogg

# Consecutive frames of solid, different colours, for torn-frame checks.
ff -f lavfi -i "color=c=red:s=320x240:r=10:d=0.1,format=bgr24" -f lavfi -i "color=c=lime:s=320x240:r=10:d=0.1,format=bgr24" \
   -f lavfi -i "color=c=blue:s=320x240:r=10:d=0.1,format=bgr24" \
   -filter_complex "[0][1][2]concat=n=3,loop=loop=29:size=3" -c:v rawvideo -pix_fmt bgr24 flashing.avi

# A long clip to play to its end.
ff -f lavfi -i "color=c=gray:s=64x48:r=5,format=bgr24" -f lavfi -i "$(tone 20)" -t 20 -c:v rawvideo -pix_fmt bgr24 long.avi

# Files that do not render.
: > empty.avi
head -c "$(($(stat -c %s clip.avi) / 2))" clip.avi > truncated.avi
python3 -c 'import random, sys; r = random.Random(1540); sys.stdout.buffer.write(bytes(r.randrange(256) for _ in range(65536)))' > noise.avi
printf 'This is a text file, not a video.\n' > notes.mp4
mkdir folder.avi
# A name outside ASCII; scripts give it in the ANSI code page (1252).
cp quadrants-322x240.avi "café.avi"

touch .complete
