#!/usr/bin/env bash
# Configures (once) and builds the game and its tests into build/. Installs nothing: run
# scripts/install-packages.sh first on a new machine.
set -euo pipefail
source "$(dirname -- "$0")/common.sh"
trap give_build_back EXIT
build "$@"
