#!/usr/bin/env bash
# Installs what the emulator test (tests/demo) needs, when it can: node and
# npm (Debian's nodejs and npm packages, when node is missing) and the npm
# package jsnes into BUILD_DIR/jsnes. Only that test uses them; the editor
# never needs an emulator. When something cannot be installed this says so
# and goes on, and the test skips with the reason.
# usage: tools/install-jsnes.sh BUILD_DIR
set -uo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
version=3.0.0
prefix="$build_dir/jsnes"

if grep -qs "\"version\": \"$version\"" "$prefix/node_modules/jsnes/package.json"; then
  exit 0
fi
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
  echo "Installing: nodejs npm (for the emulator test)"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq nodejs npm ||
    echo "warning: nodejs and npm could not be installed; the emulator test will skip" >&2
fi
if command -v npm >/dev/null 2>&1; then
  mkdir -p "$prefix"
  npm install --prefix "$prefix" --no-audit --no-fund --loglevel=error "jsnes@$version" >/dev/null ||
    echo "warning: jsnes could not be installed into $prefix; the emulator test will skip" >&2
fi
exit 0
