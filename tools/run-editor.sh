#!/usr/bin/env bash
# Builds the editor, writes the demo cartridge beside it and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/bootstrap.sh build
build/tools/cli/vorned-cli demo build/src/app/demo.nes
echo "Demo cartridge: $(pwd)/build/src/app/demo.nes (File > Open shows this folder first)"
exec build/src/app/vorned
