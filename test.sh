#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Without a display the
# tests run under a virtual X server, since many of them need an OpenGL window.
# With --sanitize as the first argument everything is built in build-sanitize
# with AddressSanitizer and UndefinedBehaviorSanitizer, and any report fails.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/tools/setup.sh"
if [ "${1:-}" = "--sanitize" ]; then
    shift
    ZARN_BUILD_DIR=$ZARN_ROOT/build-sanitize
    ZARN_CMAKE_OPTIONS+=(-DZARN_SANITIZE=ON)
fi
zarn_setup
cd "$ZARN_BUILD_DIR"
# No test depends on the machine's sound: OpenAL Soft mixes into nothing.
export ALSOFT_DRIVERS=null
if [ -z "${DISPLAY:-}" ]; then
    # A random first server number: two runs that start together would
    # otherwise both pick display 99, and one would test against the other's
    # server with the wrong credentials. Without -noreset the server resets
    # whenever its last client leaves, and a test that opens the next window
    # during the reset finds no display.
    exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24 -noreset" \
        ctest --output-on-failure "$@"
fi
exec ctest --output-on-failure "$@"
