#!/usr/bin/env bash
# Pictures of the window in docs/window-states/: each kind (the app icon set, the image set, the
# Android icon, the desktop and web icons, a project) with a success and with an error showing, at
# the usual size, at once and twice the scale, on the offscreen platform.
# Usage: scripts/window-states.sh [PREFIX [SCREENSHOT-TOOL]]: PREFIX names the pictures ("after"
# by default); another build's tool gives the same pictures of that build ("before").
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=${1:-after}
tool=${2:-}
if [ -z "$tool" ]; then
  bash scripts/install-deps.sh
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
  cmake --build build --target quorva_screenshot
  tool=build/tools/quorva_screenshot
fi
image=resources/icons/hicolor/512x512/io.quorva.Quorva.png
out=docs/window-states
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shoot() { # NAME ARGUMENTS...
  local name=$1 source=$2
  shift 2
  for scale in 1 2; do
    QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$scale "$tool" "$source" "$out/$prefix-$name@${scale}x.png" 760 660 "$@" \
      2>/dev/null
  done
}
shoot appicon-success "$image" success
shoot appicon-error "$image" fail
shoot imageset-success "$image" imageset success
shoot imageset-error "$image" imageset fail
shoot android-success "$image" android success
shoot android-error "$image" android fail
shoot desktop-success "$image" desktop success
shoot desktop-error "$image" desktop fail
if [ "$prefix" = after ]; then
  # A project synced, and one whose iOS set holds a file of the user's, which Sync won't replace.
  for state in success error; do
    for scale in 1 2; do
      rm -rf "$work/project" && bash scripts/make-flutter-project.sh "$work/project" "$image"
      [ $state = error ] && touch "$work/project/ios/Runner/Assets.xcassets/AppIcon.appiconset/notes.png"
      QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$scale "$tool" "$work/project" "$out/$prefix-project-$state@${scale}x.png" \
        760 660 success 2>/dev/null
    done
  done
fi
echo "wrote $out/$prefix-*.png"
