#!/usr/bin/env bash
# Builds the libFuzzer targets in the sanitizers' build (scripts/asan-build.sh), and gives each
# SECONDS (default 60) of a processor, seeded with the bad-input corpus and the kept regressions.
# Fails when a target finds a crash; the input is then in build-asan/fuzz/artifacts, to be kept in
# tests/fuzz/regressions/<target>/.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash scripts/install-deps.sh
bash scripts/asan-build.sh loadimage_fuzz pngencoder_fuzz svg_fuzz check_fuzz pbxproj_fuzz iconfile_fuzz project_fuzz
mkdir -p build-asan/fuzz/seeds/loadimage && cp tests/corpus/files/* tests/corpus/files/.hidden.png build-asan/fuzz/seeds/loadimage/
mkdir -p build-asan/fuzz/seeds/svg && cp tests/corpus/files/*.svg* build-asan/fuzz/seeds/svg/
targets=(loadimage pngencoder svg check pbxproj iconfile project)
for target in "${targets[@]}"; do # the regression folders stay empty until a failure is kept
  mkdir -p build-asan/fuzz/seeds/$target build-asan/fuzz/work/$target tests/fuzz/regressions/$target
done
mkdir -p build-asan/fuzz/artifacts
for png in tests/corpus/files/*.png; do # a set's Contents.json, then one of its PNG files
  { printf '\x20'; head -c 512 resources/Contents.json; cat "$png"; } >"build-asan/fuzz/seeds/check/$(basename "$png")"
done
printf '\x10\x10\x00abcdefghijklmnop' >build-asan/fuzz/seeds/pngencoder/small
cat >build-asan/fuzz/seeds/pbxproj/app <<'PBXPROJ'
// !$*UTF8*$!
{ archiveVersion = 1; objects = {
A1 = {isa = PBXFileReference; path = Assets.xcassets; sourceTree = "<group>"; };
A2 = {isa = PBXBuildFile; fileRef = A1; };
A3 = {isa = PBXResourcesBuildPhase; files = (A2, ); };
A4 = {isa = XCBuildConfiguration; buildSettings = {ASSETCATALOG_COMPILER_APPICON_NAME = AppIcon; SDKROOT = iphoneos;
  TARGETED_DEVICE_FAMILY = "1,2"; }; name = Release; };
A5 = {isa = XCConfigurationList; buildConfigurations = (A4, ); };
A6 = {isa = PBXNativeTarget; buildConfigurationList = A5; buildPhases = (A3, ); name = Runner;
  productType = "com.apple.product-type.application"; };
A7 = {isa = PBXGroup; children = (A1, ); sourceTree = "<group>"; };
A8 = {isa = PBXProject; mainGroup = A7; projectDirPath = ""; targets = (A6, ); };
}; rootObject = A8; }
PBXPROJ
# An .ico and an .icns of two tiny images, and a manifest with an icon.
printf '\0\0\1\0\1\0\1\1\0\0\1\0\x20\0\x30\0\0\0\x16\0\0\0(\0\0\0\1\0\0\0\2\0\0\0\1\0\x20\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xff\xff\xff\xff\0\0\0\0' \
  >build-asan/fuzz/seeds/iconfile/one.ico
printf 'icns\0\0\0\x18ic07\0\0\0\x10\x89PNG\r\n\x1a\n' >build-asan/fuzz/seeds/iconfile/one.icns
printf '{"name":"x","icons":[{"src":"a.png","sizes":"192x192","type":"image/png"}]}' \
  >build-asan/fuzz/seeds/iconfile/manifest.json
printf '\x40\x20\x82\x01\x02\x03\x04\x05\x06\x07\x08' >build-asan/fuzz/seeds/pngencoder/flat-wide
# A quorva.toml with a flavor, a Tauri configuration, a values file with the launcher's colour.
printf '# icons\nsource = "icon.png"\nbackground = "#ffffff"\n\n[android]\nres = "android/app/src/main/res"\n\n[flavors.dev]\nsource = "dev.png"\n' \
  >build-asan/fuzz/seeds/project/quorva.toml
printf '{"bundle":{"icon":["icons/32x32.png","icons/128x128@2x.png","icons/icon.icns","icons/icon.ico"]}}' \
  >build-asan/fuzz/seeds/project/tauri.conf.json
printf '<?xml version="1.0" encoding="utf-8"?>\n<resources>\n  <color name="ic_launcher_background">#FFFFFF</color>\n</resources>\n' \
  >build-asan/fuzz/seeds/project/colors.xml
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='qt.gui.imageio*=false;qt.svg*=false'
# One target: its kept regressions, then SECONDS of fuzzing; its lines go to its log, said at the end.
fuzz_one() {
  local target=$1 status=0
  {
    echo "== $target: the kept regressions"
    build-asan/tests/fuzz/${target}_fuzz -runs=0 tests/fuzz/regressions/$target 2>&1 || status=$?
    echo "== $target: fuzzing for ${seconds} s of a processor"
    if [ "$status" = 0 ]; then
      build-asan/tests/fuzz/${target}_fuzz -max_total_time="$wall" -timeout="$timeout" -rss_limit_mb=4096 \
        -max_len=200000 \
        -print_final_stats=1 -artifact_prefix=build-asan/fuzz/artifacts/${target}- \
        build-asan/fuzz/work/$target build-asan/fuzz/seeds/$target >build-asan/fuzz/$target.log 2>&1 || status=$?
      grep -E '^(stat::|#[0-9]+ +DONE|==[0-9]+==|SUMMARY|artifact_prefix|.*ERROR)' build-asan/fuzz/$target.log || true
    fi
  } >build-asan/fuzz/$target.said
  echo "$status" >build-asan/fuzz/$target.status
}
# Every target at once, for as long as gives each SECONDS of a processor; an input may take 20 s of
# one before it counts as a hang.
share=$(( ${#targets[@]} > $(nproc) ? ${#targets[@]} : $(nproc) ))
wall=$(( seconds * share / $(nproc) ))
timeout=$(( 20 * share / $(nproc) ))
for target in "${targets[@]}"; do
  fuzz_one "$target" &
done
wait
failed=0
for target in "${targets[@]}"; do
  cat build-asan/fuzz/$target.said
  status=$(cat build-asan/fuzz/$target.status)
  if [ "$status" != 0 ] || ls build-asan/fuzz/artifacts/${target}-* >/dev/null 2>&1; then
    tail -40 build-asan/fuzz/$target.log >&2 || true
    echo "fuzz: $target failed (status $status); inputs in build-asan/fuzz/artifacts" >&2
    failed=1
  fi
done
exit "$failed"
