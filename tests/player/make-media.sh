#!/usr/bin/env bash
# Makes the short media files the real-playback tests play (run by the build; nothing is committed).
# Usage: make-media.sh <output folder>
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }

printf '1\n00:00:00,000 --> 00:00:03,000\nHello\n' >sub-en.srt
printf '1\n00:00:00,000 --> 00:00:03,000\nHallo\n' >sub-de.srt
# 1920x1080 25 fps H.264, two AAC tracks and two subtitle tracks, with languages, in Matroska.
ff -f lavfi -i testsrc2=size=1920x1080:rate=25:duration=3 \
   -f lavfi -i sine=frequency=440:sample_rate=48000:duration=3 \
   -f lavfi -i sine=frequency=660:sample_rate=44100:duration=3 \
   -i sub-en.srt -i sub-de.srt \
   -map 0:v -map 1:a -map 2:a -map 3:s -map 4:s \
   -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -c:a aac -b:a 96k -ac:a:0 2 -ac:a:1 1 -c:s srt \
   -metadata:s:a:0 language=eng -metadata:s:a:0 title=English \
   -metadata:s:a:1 language=ger -metadata:s:a:1 title=Deutsch \
   -metadata:s:s:0 language=eng -metadata:s:s:1 language=ger \
   full1080.mkv
# 1280x720 at 29.97 fps.
ff -f lavfi -i testsrc2=size=1280x720:rate=30000/1001:duration=2 \
   -c:v libx264 -preset ultrafast -pix_fmt yuv420p hd720.mkv
# Sound only.
ff -f lavfi -i sine=frequency=440:sample_rate=48000:duration=2 -c:a aac audio-only.m4a
# Not a media file at all, under a media file's name.
head -c 65536 /dev/urandom >corrupt.mkv
rm -f sub-en.srt sub-de.srt
