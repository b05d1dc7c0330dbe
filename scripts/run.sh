#!/usr/bin/env bash
# Builds Quorva and starts the application. Without a display to show a window on, it shows
# quorva-cli making an app icon set from the sample image instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --target quorva quorva-cli
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
  exec build/src/app/quorva
fi
sample=resources/icons/hicolor/512x512/io.quorva.Quorva.png
out=$(mktemp -d)
echo "No display to show the window on; running: quorva-cli appicon $sample $out"
build/src/cli/quorva-cli appicon "$sample" "$out"
(cd "$out" && find Quorva -type f | sort)
