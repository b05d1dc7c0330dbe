#!/usr/bin/env bash
# The desktop files that `tauri icon` writes (icon.ico, icon.icns, the PNGs at 32, 128 and 256
# px and the Windows Store images), made by quorva-cli's ico, icns, linux and msix commands,
# against `tauri icon` itself, from the
# same 1024 px RGBA PNG in one run: hyperfine, a warm-up, then RUNS runs, median. `tauri icon` has
# no way to write the desktop files alone: it writes its 52 files, the iOS and Android ones among
# them. Writes bench/results/DESKTOP.md. Usage: bash bench/desktop.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
bash scripts/install-deps.sh --bench
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVA_BUILD_TESTS=OFF -DQUORVA_BUILD_APP=OFF
cmake --build build-bench --target quorva-cli
(cd bench && npm ci --no-audit --no-fund --loglevel=error)

work=bench/results/work-desktop
rm -rf "$work"
mkdir -p "$work"
src=$work/icon-rgba.png
# The app icon of Debian's Breeze theme that bench/run.sh uses, rendered at 1024 px.
rsvg-convert -w 1024 -h 1024 /usr/share/icons/breeze/apps/48/kdenlive.svg -o "$src"
cli=build-bench/src/cli/quorva-cli
out=$work/out
quorva="$cli ico $src $out/quorva/icon.ico && $cli icns $src $out/quorva/icon.icns && \
$cli linux $src $out/quorva/share --id org.example.App --sizes 32,128,256 && $cli msix $src $out/quorva/store"
tauri="bench/node_modules/.bin/tauri icon $src -o $out/tauri"
hyperfine --warmup 1 --runs "$runs" --prepare "rm -rf $out" --export-json "$work/desktop.json" \
  -n quorva "$quorva" -n tauri "$tauri"
rm -rf "$out"
bash -c "$quorva" >/dev/null 2>&1
bash -c "$tauri" >/dev/null 2>&1
/usr/bin/python3 - "$work/desktop.json" "$out" >bench/results/DESKTOP.md <<'PY'
import json, os, platform, sys
runs = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
out = sys.argv[2]
def files(tool):
    return sum(len(f) for _, _, f in os.walk(os.path.join(out, tool)))
cpu = next((l.split(":", 1)[1].strip() for l in open("/proc/cpuinfo") if l.startswith("model name")), "?")
q, t = runs["quorva"]["median"], runs["tauri"]["median"]
print("# The desktop files: quorva-cli against `tauri icon`\n")
print(f"One run of `bash bench/desktop.sh` on {os.cpu_count()} cores ({cpu}), Linux {platform.release()}. "
      "Each tool runs as whole processes writing real files; medians of hyperfine runs after a warm-up.\n")
print("| job | quorva-cli | tauri icon | quorva / tauri |")
print("|---|---|---|---|")
print(f"| icon.ico, icon.icns, the 32, 128 and 256 px PNGs and the 10 Store images from a 1024 px RGBA PNG | {q:.3f} s | {t:.3f} s | {q / t:.3f} |")
print(f"\nFiles written: quorva-cli {files('quorva')} (the desktop files asked for), `tauri icon` {files('tauri')} "
      "(it has no way to write the desktop files alone).")
PY
cat bench/results/DESKTOP.md
