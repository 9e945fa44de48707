#!/usr/bin/env bash
# Soak runs of the real game under a virtual X server (about seven minutes;
# not part of the test suite):
#   tools/soak.sh [seconds left alone, default 310] [seconds of clicks, default 60]
# 1. The game left alone until its time is up: it must show "Time is up, try
#    again", keep drawing, and end with its resident memory within 10% of
#    what it was 30 s after start-up.
# 2. A new game turned to the flow board whose cells are clicked without a
#    pause: resident memory after the clicks within 10% of what it was after
#    the first 10 s of them.
# Prints the figures and exits 1 if a check fails. Needs a build.
set -euo pipefail

ZARN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ZARN_BUILD_DIR=${ZARN_BUILD_DIR:-$ZARN_ROOT/build}
ALONE=${1:-310}
CLICKING=${2:-60}

if [ -z "${ZARN_SOAK_DISPLAY_READY:-}" ]; then
    export ZARN_SOAK_DISPLAY_READY=1
    exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24 -noreset" \
        "$0" "$ALONE" "$CLICKING"
fi
source "$ZARN_ROOT/tools/xgame.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$ZARN_GAME/status"; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$ZARN_GAME/stat"; }

# Screenshots go next to the build, to look at after the run.
shot() { import -window "$ZARN_WINDOW" "png:$ZARN_BUILD_DIR/soak-$1.png"; }

# Pixels in the band the "Time is up" message is drawn in that have its
# colour (1.0, 0.5, 0.5) in screenshot $2 but not in screenshot $1: the
# picture behind the band holds such colours of its own.
new_message_pixels() {
    local band=(-crop 500x100+150+320 +repage txt:-)
    paste -d' ' <(convert "$ZARN_BUILD_DIR/soak-$1.png" "${band[@]}") \
        <(convert "$ZARN_BUILD_DIR/soak-$2.png" "${band[@]}") |
        awk 'function message(s,   c) {
                 split(s, c, /[(),]/)
                 return c[2] > 220 && c[3] > 90 && c[3] < 170 && c[4] > 90 && c[4] < 170
             }
             NR > 1 && message($6) && !message($2) { n++ }
             END { print n + 0 }'
}

# Compares two resident sizes: prints the change, fails beyond 10%.
check_growth() {
    local what=$1 before=$2 after=$3
    local percent=$(((after - before) * 1000 / before))
    printf '%s: %d KiB -> %d KiB (%+d.%d%%)\n' "$what" "$before" "$after" \
        $((percent / 10)) $(((percent < 0 ? -percent : percent) % 10))
    if [ $((after * 10)) -gt $((before * 11)) ] || [ $((after * 10)) -lt $((before * 9)) ]; then
        echo "FAILED: $what changed by more than 10%"
        failed=1
    fi
}

echo "Soak 1: the game left alone for $ALONE s"
zarn_start_game "$work/alone.log"
start=$SECONDS
sleep 30
rss30=$(rss_kib)
shot running
while [ $((SECONDS - start)) -lt "$ALONE" ]; do
    sleep 10
    echo "  $((SECONDS - start)) s: $(rss_kib) KiB"
done
shot time-up
message=$(new_message_pixels running time-up)
echo "Pixels in the message's colour that were not at 30 s: $message"
if [ "$message" -lt 300 ]; then
    echo "FAILED: no \"Time is up, try again\" on screen"
    failed=1
fi
ticks=$(cpu_ticks)
sleep 5
drawn=$(($(cpu_ticks) - ticks))
echo "CPU time over 5 s after time-up: $drawn ticks of $(getconf CLK_TCK) per second"
if [ "$drawn" -lt "$(getconf CLK_TCK)" ]; then
    echo "FAILED: the game no longer draws"
    failed=1
fi
check_growth "Resident memory, 30 s to the end" "$rss30" "$(rss_kib)"
zarn_quit_game || { echo "FAILED: exit status $?"; failed=1; }

echo "Soak 2: clicks on the flow board for $CLICKING s"
zarn_start_game "$work/clicks.log"
sleep 1
zarn_drag -314 0
sleep 1
start=$SECONDS
clicks=0
rss10=""
while [ $((SECONDS - start)) -lt "$CLICKING" ]; do
    for y in 243 321 399 477 555; do
        for x in 243 321 399 477 555; do
            zarn_click "$x" "$y"
            clicks=$((clicks + 1))
        done
    done
    if [ -z "$rss10" ] && [ $((SECONDS - start)) -ge 10 ]; then
        rss10=$(rss_kib)
    fi
done
echo "$clicks clicks"
check_growth "Resident memory, 10 s of clicks to the end" "$rss10" "$(rss_kib)"
zarn_quit_game || { echo "FAILED: exit status $?"; failed=1; }
if grep -q "ERROR" "$work/alone.log" "$work/clicks.log"; then
    echo "FAILED: the game reported errors:"
    grep -h "ERROR" "$work/alone.log" "$work/clicks.log"
    failed=1
fi
[ "$failed" = 0 ] && echo "Soak passed"
exit "$failed"
