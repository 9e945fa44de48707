#!/usr/bin/env bash
# Builds the game in Release and runs its start-up and frame-time benchmark in
# an 800 x 800 window, under a virtual display when there is none:
#   ./bench.sh [frames per run, 600 unless given]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/tools/setup.sh"
ZARN_BUILD_TYPE=Release zarn_setup
cd "$ZARN_BUILD_DIR"
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24 -noreset" \
        ./tools/bench/zarn-bench "$@"
fi
exec ./tools/bench/zarn-bench "$@"
