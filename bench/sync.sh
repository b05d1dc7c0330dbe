#!/usr/bin/env bash
# quorva-cli sync of a Flutter project with every target it has (iOS, macOS, Android, the web and
# Windows, and the iOS and Android icons of its dev flavor), against the peers writing the same
# kinds of files, each in a project of its own: `tauri icon` for the desktop files (it writes its
# iOS and Android icons too) and the Capacitor assets tool for the iOS, Android and web icons; and
# sync --check of the synced project against sync. All from the same 1024 px RGBA PNG, as whole
# processes writing real files, in one run: hyperfine, a warm-up, then RUNS runs, medians; what
# each run starts from is copied and flushed to the disk first, so that no run pays for the copy.
# Writes bench/results/SYNC.md. Usage: bash bench/sync.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
bash scripts/install-deps.sh --bench
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVA_BUILD_TESTS=OFF -DQUORVA_BUILD_APP=OFF
cmake --build build-bench --target quorva-cli
(cd bench && npm ci --no-audit --no-fund --loglevel=error)

work=$PWD/bench/results/work-sync
rm -rf "$work"
mkdir -p "$work"
src=$work/icon-rgba.png
# The app icon of Debian's Breeze theme that bench/run.sh uses, rendered at 1024 px.
rsvg-convert -w 1024 -h 1024 /usr/share/icons/breeze/apps/48/kdenlive.svg -o "$src"
cli=$PWD/build-bench/src/cli/quorva-cli

# The Flutter project, as flutter create lays one out, with a flavor.
flutter=$work/flutter-pristine
bash scripts/make-flutter-project.sh "$flutter" "$src"
"$cli" init "$flutter" --source "$flutter/assets/icon.png" >/dev/null
printf '\n[flavors.dev]\nsource = "assets/icon-dev.png"\n' >>"$flutter/quorva.toml"
sed -i 's/^\[android\]$/[android]\nmonochrome = true/' "$flutter/quorva.toml"

# The Capacitor project the assets tool writes into: its catalog, its manifest, its site.
capacitor=$work/capacitor-pristine
mkdir -p "$capacitor"/{assets,www,ios/App/App/Assets.xcassets/AppIcon.appiconset,android/app/src/main/res/values}
cp "$src" "$capacitor/assets/icon-only.png"
echo '{"appId":"org.example.demo","appName":"demo","webDir":"www"}' >"$capacitor/capacitor.config.json"
echo '{"name":"demo"}' >"$capacitor/package.json"
echo '{"name":"demo","icons":[]}' >"$capacitor/www/manifest.json"
echo '{"info":{"author":"xcode","version":1}}' >"$capacitor/ios/App/App/Assets.xcassets/Contents.json"
# The template's set names its file: without a filename the assets tool stops at iOS.
echo '{"images":[{"filename":"AppIcon-512@2x.png","idiom":"universal","platform":"ios","size":"1024x1024"}],"info":{"author":"xcode","version":1}}' \
  >"$capacitor/ios/App/App/Assets.xcassets/AppIcon.appiconset/Contents.json"
cp "$src" "$capacitor/ios/App/App/Assets.xcassets/AppIcon.appiconset/AppIcon-512@2x.png"
cp "$flutter/android/app/src/main/AndroidManifest.xml" "$capacitor/android/app/src/main/"

tools=$PWD/bench/node_modules/.bin
quorva="$cli sync $work/flutter"
peers="$tools/tauri icon $src -o $work/tauri && cd $work/capacitor && $tools/capacitor-assets generate \
--iconBackgroundColor '#ffffff' --iconBackgroundColorDark '#111111'"
check="$cli sync $work/flutter --check"
hyperfine --warmup 1 --runs "$runs" --export-json "$work/sync.json" \
  -n quorva-sync --prepare "rm -rf $work/flutter && cp -a $flutter $work/flutter && sync" "$quorva" \
  -n peers --prepare "rm -rf $work/tauri $work/capacitor && cp -a $capacitor $work/capacitor && sync" "$peers"
rm -rf "$work/flutter" && cp -a "$flutter" "$work/flutter" && $quorva >/dev/null
hyperfine --warmup 1 --runs "$runs" --export-json "$work/check.json" -n quorva-check "$check"
/usr/bin/python3 - "$work" >bench/results/SYNC.md <<'PY'
import json, os, platform, sys
work = sys.argv[1]
runs = {r["command"]: r for f in ("sync.json", "check.json") for r in json.load(open(os.path.join(work, f)))["results"]}
def files(path):
    return sum(len(f) for _, _, f in os.walk(path))
cpu = next((l.split(":", 1)[1].strip() for l in open("/proc/cpuinfo") if l.startswith("model name")), "?")
s, p, c = (runs[n]["median"] for n in ("quorva-sync", "peers", "quorva-check"))
print("# A project's icons: quorva-cli sync against the peers\n")
print(f"One run of `bash bench/sync.sh` on {os.cpu_count()} cores ({cpu}), Linux {platform.release()}. "
      "Each tool runs as whole processes writing real files; medians of hyperfine runs after a warm-up.\n")
print("| job | time | ratio |")
print("|---|---|---|")
print(f"| `quorva-cli sync`: a Flutter project's iOS, macOS, Android, web and Windows icons and its dev flavor's "
      f"iOS and Android icons | {s:.3f} s | {s / p:.3f} of the peers |")
print(f"| `tauri icon` (desktop files, and its iOS and Android ones) then the Capacitor assets tool (iOS, Android "
      f"and web), each in its own project | {p:.3f} s | 1 |")
print(f"| `quorva-cli sync --check` of the synced project | {c:.3f} s | {c / s:.3f} of sync |")
print(f"\nFiles written: quorva-cli {files(os.path.join(work, 'flutter')) - files(os.path.join(work, 'flutter-pristine'))} "
      f"beside the project's own, `tauri icon` {files(os.path.join(work, 'tauri'))}, the Capacitor assets tool "
      f"{files(os.path.join(work, 'capacitor')) - files(os.path.join(work, 'capacitor-pristine'))}.")
PY
cat bench/results/SYNC.md
