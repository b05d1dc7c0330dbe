#!/usr/bin/env bash
# Makes docs/screenshot.png again from the real window, on the offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --target quorva_screenshot
mkdir -p docs
QT_QPA_PLATFORM=offscreen build/tools/quorva_screenshot resources/icons/hicolor/512x512/io.quorva.Quorva.png \
  docs/screenshot.png
echo "wrote docs/screenshot.png"
