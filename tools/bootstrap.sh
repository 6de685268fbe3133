#!/usr/bin/env bash
# Installs what the build needs (when missing), then configures and builds.
# usage: tools/bootstrap.sh BUILD_DIR [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
shift || true

packages=(cmake ninja-build g++ qt6-base-dev libgl-dev libbenchmark-dev clang libclang-rt-14-dev)
# ca65 and ld65 assemble the demo cartridge's program.
packages+=(cc65)
# Checking the installed desktop files and building the Debian package.
packages+=(desktop-file-utils appstream shared-mime-info man-db dpkg-dev file)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi

cmake -S . -B "$build_dir" -G Ninja "$@" >/dev/null
cmake --build "$build_dir"
