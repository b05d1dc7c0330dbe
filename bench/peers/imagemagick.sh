#!/usr/bin/env bash
# The same two jobs with ImageMagick's convert, in one process: a clone, resize and write chain
# per size, PNG32 as the usual scripts write it.
# Usage: imagemagick.sh appicon|imageset SOURCE OUTDIR
set -euo pipefail
kind=$1 source=$2 out=$3
mkdir -p "$out"
args=("$source")
if [ "$kind" = appicon ]; then
  while read -r name side; do
    args+=( \( +clone -resize "${side}x${side}!" -write "PNG32:$out/$name" +delete \) )
  done < <(/usr/bin/python3 -c 'import json,sys; [print(n, s) for n, s in json.load(open(sys.argv[1]))["appicon"]]' \
             "$(dirname "$0")/sizes.json")
else
  dims=$(/usr/bin/identify -format '%w %h' "$source")
  w=${dims% *} h=${dims#* }
  args+=( \( +clone -resize "$((w / 3))x$((h / 3))!" -write "PNG32:$out/asset@1x.png" +delete \) )
  args+=( \( +clone -resize "$((2 * w / 3))x$((2 * h / 3))!" -write "PNG32:$out/asset@2x.png" +delete \) )
  args+=( -write "PNG32:$out/asset@3x.png" )
fi
/usr/bin/convert "${args[@]}" null:
