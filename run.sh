#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game next to its asset tree.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/tools/setup.sh"
zarn_setup
cd "$ZARN_BUILD_DIR"
exec ./zarn "$@"
