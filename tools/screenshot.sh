#!/usr/bin/env bash
# Takes a screenshot of the game from its default view under a virtual X
# server: tools/screenshot.sh [output.png] [seconds to wait]. Needs a build.
set -euo pipefail

ZARN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ZARN_BUILD_DIR=${ZARN_BUILD_DIR:-$ZARN_ROOT/build}
OUTPUT=$(realpath -m "${1:-$ZARN_ROOT/docs/screenshot.png}")
WAIT=${2:-3}
mkdir -p "$(dirname "$OUTPUT")"

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
    exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24" "$0" "$OUTPUT" "$WAIT"
fi
