#!/usr/bin/env bash
# Quorva against the tools a user would pick instead, on the same jobs, in one run:
# quorva-cli, sharp, Pillow and ImageMagick, each as a whole process writing real PNG files,
# timed by hyperfine (warm-up, then RUNS runs, median), with peak memory from /usr/bin/time and
# the bytes written; and the in-memory floor from the Google Benchmark. Writes
# bench/results/RESULTS.md. Usage: bash bench/run.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
bash scripts/install-deps.sh --bench
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVA_BUILD_TESTS=OFF -DQUORVA_BUILD_APP=OFF
cmake --build build-bench --target quorva-cli quorva_bench quorva_libpng_sizes
(cd bench && npm ci --no-audit --no-fund --loglevel=error)

work=bench/results/work
rm -rf "$work"
mkdir -p "$work/sources" "$work/runs"
src=$work/sources
# An app icon from Debian's Breeze icon theme, rendered from its SVG at 1024 pixels; the same
# flattened onto white; a photograph from Debian's MATE wallpapers at about 12 megapixels.
rsvg-convert -w 1024 -h 1024 /usr/share/icons/breeze/apps/48/kdenlive.svg -o "$src/icon-rgba.png"
/usr/bin/convert "$src/icon-rgba.png" -background white -flatten -alpha off "PNG24:$src/icon-rgb.png"
/usr/bin/convert /usr/share/backgrounds/mate/abstract/Elephants_5640x3172.jpg -resize '4620x2598!' -quality 92 \
  "$src/photo.jpg"

cli=build-bench/src/cli/quorva-cli
command_for() { # tool kind source out
  case $1 in
    quorva) echo "$cli $2 $3 $4" ;;
    sharp) echo "node bench/peers/sharp.mjs $2 $3 $4" ;;
    pillow) echo "/usr/bin/python3 bench/peers/pillow.py $2 $3 $4" ;;
    imagemagick) echo "bash bench/peers/imagemagick.sh $2 $3 $4" ;;
  esac
}
tools=(quorva sharp pillow imagemagick)
jobs=("appicon icon-rgba.png" "appicon icon-rgb.png" "imageset photo.jpg")

for job in "${jobs[@]}"; do
  read -r kind file <<<"$job"
  name="$kind-${file%.*}"
  out=$work/out
  args=()
  for tool in "${tools[@]}"; do
    args+=(-n "$tool" "$(command_for "$tool" "$kind" "$src/$file" "$out/$tool")")
  done
  hyperfine --warmup 1 --runs "$runs" --prepare "rm -rf $out" --export-json "$work/runs/$name.json" "${args[@]}"
  for tool in "${tools[@]}"; do
    rm -rf "$out"
    # shellcheck disable=SC2046
    /usr/bin/time -f "%M" -o "$work/runs/$name.$tool.rss" $(command_for "$tool" "$kind" "$src/$file" "$out/$tool")
    find "$out/$tool" -path '*/Quorva/icon/iOS/ItunesArtwork*' -prune -o -name '*.png' -printf '%s\n' |
      awk '{s += $1} END {print s}' >"$work/runs/$name.$tool.bytes"
    if [ "$kind" = imageset ]; then
      find "$out/$tool" -name '*.png' | sort >"$work/runs/$name.$tool.files"
      xargs build-bench/bench/quorva_libpng_sizes <"$work/runs/$name.$tool.files" >"$work/runs/$name.$tool.libpng"
    fi
  done
done

build-bench/bench/quorva_bench --icon-rgba="$src/icon-rgba.png" --icon-rgb="$src/icon-rgb.png" --photo="$src/photo.jpg" \
  --benchmark_filter='floor/|app/' --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$work/runs/floor.json" --benchmark_out_format=json

/usr/bin/python3 bench/report.py "$work/runs" >bench/results/RESULTS.md
cat bench/results/RESULTS.md
