#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing Quorva need; with --bench
# also the tools and sources that bench/run.sh holds Quorva against. Idempotent; run as root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-image-formats-plugins zlib1g-dev
  librsvg2-dev librsvg2-bin webp-pixbuf-loader
  python3
  libdeflate-dev libgcrypt20-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev clang-format lld
  appstream desktop-file-utils
  pngcheck
  icoutils icnsutils python3-pil
  libtomlplusplus-dev libyaml-cpp-dev
  aapt android-framework-res
  xauth xvfb
  libxkbcommon0 fonts-dejavu-core
)
if [ "${1:-}" = --bench ]; then
  packages+=(
    imagemagick python3-pil hyperfine time strace linux-perf
    breeze-icon-theme mate-backgrounds
  )
  # Node.js for sharp; the machine's own when it has one.
  command -v node >/dev/null 2>&1 || packages+=(nodejs npm)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
