#!/usr/bin/env bash
# Builds the editor, writes the demo cartridge beside it and starts the
# editor with it open.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/bootstrap.sh build
build/src/cli/vorned-cli demo build/src/app/demo.nes
echo "Demo cartridge: $(pwd)/build/src/app/demo.nes (open in the editor; File > Open shows this folder first)"
exec build/src/app/vorned build/src/app/demo.nes
