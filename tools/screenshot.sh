#!/usr/bin/env bash
# Takes a screenshot of the game under a virtual X server:
#   tools/screenshot.sh [output.png] [seconds to wait] [drag x] [drag y]
# A drag turns the camera as a right-button drag of that many pixels would:
# 314 to the right shows the river side, -314 the flow side, 628 the back,
# -312 upwards the bottom and 250 downwards the top. Keys named in
# ZARN_SCREENSHOT_KEYS (xdotool names, e.g. "h") are pressed after the drag.
# Needs a build.
set -euo pipefail

ZARN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ZARN_BUILD_DIR=${ZARN_BUILD_DIR:-$ZARN_ROOT/build}
OUTPUT=$(realpath -m "${1:-$ZARN_ROOT/docs/screenshot.png}")
WAIT=${2:-3}
DRAG_X=${3:-0}
DRAG_Y=${4:-0}
mkdir -p "$(dirname "$OUTPUT")"

source "$ZARN_ROOT/tools/xgame.sh"

capture() {
    zarn_start_game /dev/null
    sleep 1
    if [ "$DRAG_X" != 0 ] || [ "$DRAG_Y" != 0 ]; then
        zarn_drag "$DRAG_X" "$DRAG_Y"
    fi
    if [ -n "${ZARN_SCREENSHOT_KEYS:-}" ]; then
        sleep 0.3
        # shellcheck disable=SC2086 # one argument per key
        xdotool windowfocus --sync "$ZARN_WINDOW" key $ZARN_SCREENSHOT_KEYS
    fi
    sleep "$WAIT"
    import -window "$ZARN_WINDOW" "png:$OUTPUT"
    zarn_quit_game
    echo "Wrote $OUTPUT"
}

if [ -n "${ZARN_SCREENSHOT_DISPLAY_READY:-}" ]; then
    capture
else
    export ZARN_SCREENSHOT_DISPLAY_READY=1
    exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24 -noreset" "$0" "$OUTPUT" "$WAIT" "$DRAG_X" "$DRAG_Y"
fi
