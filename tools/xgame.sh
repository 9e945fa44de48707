#!/usr/bin/env bash
# Functions for scripts that drive the real game in an X session with
# xdotool. Source it; the game runs from $ZARN_BUILD_DIR, next to its assets.

# Starts ./zarn with its output in the file $1 and waits for its window.
# Sets ZARN_GAME (the process) and ZARN_WINDOW (the window id).
zarn_start_game() {
    local log=$1
    (cd "$ZARN_BUILD_DIR" && exec ./zarn) >"$log" 2>&1 &
    ZARN_GAME=$!
    ZARN_WINDOW=""
    for _ in $(seq 100); do
        ZARN_WINDOW=$(xdotool search --onlyvisible --pid "$ZARN_GAME" 2>/dev/null | head -n1 || true)
        [ -n "$ZARN_WINDOW" ] && return 0
        sleep 0.1
    done
    kill "$ZARN_GAME" 2>/dev/null || true
    echo "The game window did not appear." >&2
    return 1
}

# Right-drags by ($1, $2) pixels from the window centre in small moves, so
# the game sees the button held while the cursor travels. The camera turns
# by the cursor's travel between frames, so the move to the centre must land
# in a frame before the press, and the last move in one before the release.
zarn_drag() {
    local dx=$1 dy=$2 steps=20 i
    xdotool mousemove --window "$ZARN_WINDOW" 400 400
    sleep 0.5
    xdotool mousedown 3
    sleep 0.2
    for i in $(seq "$steps"); do
        xdotool mousemove --window "$ZARN_WINDOW" $((400 + dx * i / steps)) $((400 + dy * i / steps))
        sleep 0.05
    done
    sleep 0.5
    xdotool mouseup 3
}

# A left click at window pixel ($1, $2): press and release in different
# frames, or the game sees no click.
zarn_click() {
    xdotool mousemove --window "$ZARN_WINDOW" "$1" "$2"
    sleep 0.05
    xdotool mousedown 1
    sleep 0.1
    xdotool mouseup 1
}

# Escape, then the game's exit status.
zarn_quit_game() {
    xdotool windowfocus --sync "$ZARN_WINDOW" key Escape
    local status=0
    wait "$ZARN_GAME" || status=$?
    return "$status"
}
