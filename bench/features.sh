#!/usr/bin/env bash
# Quorva's newer jobs, each measured against the classic job it stands beside, in the same run:
# the single-size set with appearances against the classic set; an SVG source against the same
# art as a 1024 px PNG, in time and in fidelity to an independent SVG renderer (librsvg); 40 image
# sets in one run against 40 runs; check against pngcheck over the same catalog; the macOS icons
# against the classic iOS set; and the Android launcher icon against the same job through sharp.
# Writes bench/results/FEATURES.md. Usage: bash bench/features.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10}
bash scripts/install-deps.sh --bench
(cd bench && npm ci --no-audit --no-fund --loglevel=error)
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVA_BUILD_TESTS=OFF -DQUORVA_BUILD_APP=OFF
cmake --build build-bench --target quorva-cli

cli=build-bench/src/cli/quorva-cli
work=bench/results/features
rm -rf "$work"
mkdir -p "$work/runs" "$work/reference"
art=/usr/share/icons/breeze/apps/48/kdenlive.svg # an app icon of Debian's Breeze theme
cp "$art" "$work/icon.svg"
rsvg-convert -w 1024 -h 1024 "$art" -o "$work/icon.png"
timed() { # name, then hyperfine's -n NAME COMMAND pairs
  local name=$1
  shift
  hyperfine --warmup 2 --runs "$runs" --prepare "rm -rf $work/out" --export-json "$work/runs/$name.json" "$@"
}

# Start-up: what a PNG run loads, against an SVG run, which alone opens the librsvg module; and
# the bare start-up of the program.
for kind in png svg; do
  LD_DEBUG=libs "$cli" appicon "$work/icon.$kind" "$work/out-$kind" 2>&1 | sed -n 's/.*calling init: //p' | sort -u \
    >"$work/runs/libraries-$kind.txt"
done
hyperfine --warmup 3 --runs "$runs" -N --export-json "$work/runs/startup.json" -n version "$cli --version"

# Today's app icons: the single-size set with dark and tinted against the classic set.
timed single-size -n classic "$cli appicon $work/icon.png $work/out" \
  -n single-size "$cli appicon $work/icon.png $work/out --single-size --background white --dark --tinted"

# Vector sources: time, and each icon from 20 to 512 px against librsvg drawing that size.
timed vector -n png "$cli appicon $work/icon.png $work/out" -n svg "$cli appicon $work/icon.svg $work/out"
"$cli" appicon "$work/icon.svg" "$work/from-svg"
"$cli" appicon "$work/icon.png" "$work/from-png"
for side in 20 29 40 58 60 76 80 87 120 152 167 180 512; do
  rsvg-convert -w "$side" -h "$side" "$art" -o "$work/reference/$side.png"
done

# Many image sets: 40 photographs of 1024 x 1024 in one run, against one run each.
mkdir -p "$work/photos"
photo=/usr/share/backgrounds/mate/abstract/Elephants_5640x3172.jpg
for i in $(seq 1 40); do
  /usr/bin/convert "$photo" -crop "1024x1024+$(((i * 97) % 4600))+$(((i * 53) % 2140))" +repage "$work/photos/photo$i.png"
done
timed batch -n one-run "$cli imageset $work/photos/*.png $work/out" \
  -n separate-runs "for f in $work/photos/*.png; do $cli imageset \$f $work/out; done"

# check over a catalog of 200 classic app icon sets, against pngcheck -q over the same files.
"$cli" appicon "$work/icon.png" --into "$work/Check.xcassets" --background white
for i in $(seq 1 199); do cp -r "$work/Check.xcassets/AppIcon.appiconset" "$work/Check.xcassets/Icon$i.appiconset"; done
hyperfine --warmup 2 --runs "$runs" --export-json "$work/runs/check.json" -i \
  -n check "$cli check $work/Check.xcassets" -n pngcheck "pngcheck -q $work/Check.xcassets/*/*.png"

# The Mac's icons, laid into the macOS shape over its shadow, against the classic iOS set.
timed platforms -n ios "$cli appicon $work/icon.png $work/out" -n macos "$cli appicon $work/icon.png $work/out --platform macos"

# The Android launcher icon with its themed layer and the Play Store icon, into a res folder,
# against the same files made by sharp (bench/peers/sharp.mjs android).
hyperfine --warmup 2 --runs "$runs" --prepare "rm -rf $work/out && mkdir -p $work/out/src/main/res" \
  --export-json "$work/runs/android.json" \
  -n quorva "$cli android $work/icon.png $work/out/src/main/res --monochrome --play-store $work/out/playstore.png" \
  -n sharp "node bench/peers/sharp.mjs android $work/icon.png $work/out/src/main/res"

/usr/bin/python3 bench/features_report.py "$work" >bench/results/FEATURES.md
cat bench/results/FEATURES.md
