#!/usr/bin/env bash
# Takes a screenshot of the game under a virtual X server:
#   tools/screenshot.sh [output.png] [seconds to wait] [drag x] [drag y]
# A drag turns the camera as a right-button drag of that many pixels would:
# 314 to the right shows the river side, -314 the flow side, 628 the back,
# -312 upwards the bottom and 250 downwards the top. Needs a build.
set -euo pipefail

ZARN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ZARN_BUILD_DIR=${ZARN_BUILD_DIR:-$ZARN_ROOT/build}
OUTPUT=$(realpath -m "${1:-$ZARN_ROOT/docs/screenshot.png}")
WAIT=${2:-3}
DRAG_X=${3:-0}
DRAG_Y=${4:-0}
mkdir -p "$(dirname "$OUTPUT")"

# Right-drags from the window centre in small moves, so the game sees the
# button held while the cursor travels. The camera turns by the cursor's
# travel between frames, so the move to the centre must land in a frame
# before the press, and the last move in one before the release.
drag() {
    local window=$1 steps=20 i
    xdotool mousemove --window "$window" 400 400
    sleep 0.5
    xdotool mousedown 3
    sleep 0.2
    for i in $(seq "$steps"); do
        xdotool mousemove --window "$window" $((400 + DRAG_X * i / steps)) $((400 + DRAG_Y * i / steps))
        sleep 0.05
    done
    sleep 0.5
    xdotool mouseup 3
}

capture() {
    cd "$ZARN_BUILD_DIR"
    ./zarn >/dev/null &
    local game=$!
    local window=""
    for _ in $(seq 100); do
        window=$(xdotool search --onlyvisible --pid "$game" 2>/dev/null | head -n1 || true)
        [ -n "$window" ] && break
        sleep 0.1
    done
    if [ -z "$window" ]; then
        kill "$game" 2>/dev/null || true
        echo "The game window did not appear." >&2
        exit 1
    fi
    sleep 1
    if [ "$DRAG_X" != 0 ] || [ "$DRAG_Y" != 0 ]; then
        drag "$window"
    fi
    sleep "$WAIT"
    import -window "$window" "png:$OUTPUT"
    xdotool windowfocus --sync "$window" key Escape
    wait "$game"
    echo "Wrote $OUTPUT"
}

if [ -n "${ZARN_SCREENSHOT_DISPLAY_READY:-}" ]; then
    capture
else
    export ZARN_SCREENSHOT_DISPLAY_READY=1
    exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24 -noreset" "$0" "$OUTPUT" "$WAIT" "$DRAG_X" "$DRAG_Y"
fi
