#!/usr/bin/env bash
# The icons and launch screens of a Capacitor project, as `npx cap add ios android` lays one out
# (its Splash.imageset and storyboard, its res folder's full-screen splash.png at each orientation
# and density, its launch theme of the compat library's): quorva-cli sync against the Capacitor
# assets tool's `capacitor-assets generate`, each in its own copy, from the same 1024 px RGBA logo
# and the same light and dark colours, as whole processes writing real files, in one run:
# hyperfine, a warm-up, then RUNS runs, medians. Writes bench/results/SPLASH.md.
# Usage: bash bench/splash.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
bash scripts/install-deps.sh --bench
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVA_BUILD_TESTS=OFF -DQUORVA_BUILD_APP=OFF
cmake --build build-bench --target quorva-cli
(cd bench && npm ci --no-audit --no-fund --loglevel=error)

work=$PWD/bench/results/work-splash
rm -rf "$work"
mkdir -p "$work"
src=$work/logo.png
rsvg-convert -w 1024 -h 1024 /usr/share/icons/breeze/apps/48/kdenlive.svg -o "$src"
cli=$PWD/build-bench/src/cli/quorva-cli

project=$work/capacitor-pristine
bash scripts/make-capacitor-project.sh "$project" "$src"
cat >"$project/quorva.toml" <<'TOML'
source = "assets/logo.png"
background = "#ffffff"

[ios]
catalog = "ios/App/App/Assets.xcassets"

[android]
res = "android/app/src/main/res"

[web]
folder = "www"

[splash]
res = "android/app/src/main/res"
catalog = "ios/App/App/Assets.xcassets"
dark-background = "#111111"
TOML

tools=$PWD/bench/node_modules/.bin
quorva="$cli sync $work/quorva"
peer="cd $work/peer && $tools/capacitor-assets generate --iconBackgroundColor '#ffffff' \
--iconBackgroundColorDark '#111111' --splashBackgroundColor '#ffffff' --splashBackgroundColorDark '#111111'"
hyperfine --warmup 1 --runs "$runs" --export-json "$work/splash.json" \
  -n quorva-sync --prepare "rm -rf $work/quorva && cp -a $project $work/quorva && sync" "$quorva" \
  -n capacitor-assets --prepare "rm -rf $work/peer && cp -a $project $work/peer && sync" "$peer"
/usr/bin/python3 - "$work" >bench/results/SPLASH.md <<'PY'
import json, os, platform, sys
work = sys.argv[1]
runs = {r["command"]: r for r in json.load(open(os.path.join(work, "splash.json")))["results"]}
def changed(path):
    pristine = os.path.join(work, "capacitor-pristine")
    count = 0
    for folder, _, files in os.walk(path):
        for name in files:
            mine = os.path.join(folder, name)
            theirs = os.path.join(pristine, os.path.relpath(mine, path))
            if not os.path.exists(theirs) or open(mine, "rb").read() != open(theirs, "rb").read():
                count += 1
    return count
cpu = next((l.split(":", 1)[1].strip() for l in open("/proc/cpuinfo") if l.startswith("model name")), "?")
q, p = runs["quorva-sync"]["median"], runs["capacitor-assets"]["median"]
print("# A Capacitor project's icons and launch screens: quorva-cli sync against the Capacitor assets tool\n")
print(f"One run of `bash bench/splash.sh` on {os.cpu_count()} cores ({cpu}), Linux {platform.release()}. "
      "Each tool runs as whole processes writing real files; medians of hyperfine runs after a warm-up.\n")
print("| job | time | ratio |")
print("|---|---|---|")
print(f"| `quorva-cli sync`: the iOS, Android and web icons, and the launch screens of iOS (Splash.imageset, "
      f"light and dark) and Android (12's icon, the full-screen splash.png, light and dark) | {q:.3f} s | "
      f"{q / p:.3f} of the peer |")
print(f"| `capacitor-assets generate` from the same logo and colours | {p:.3f} s | 1 |")
print(f"\nFiles written or changed: quorva-cli {changed(os.path.join(work, 'quorva'))}, "
      f"the Capacitor assets tool {changed(os.path.join(work, 'peer'))}.")
PY
cat bench/results/SPLASH.md
