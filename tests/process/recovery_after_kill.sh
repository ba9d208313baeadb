#!/bin/sh
# The built program under an X server of its own, driven by real pointer and
# key events: two distances placed on the sample, one after the other's copy
# was made, survive kill -9 in the recovery copy (the image written once, the
# newer measurements beside it), and the next start restores both when asked.
# Arguments: the program, the measurement file probe, the sample image.
set -eu
orvalin=$(readlink -f "$1")
probe=$(readlink -f "$2")
sample=$(readlink -f "$3")
for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$tool not found: skipped"
        exit 77
    fi
done

tmp=$(mktemp -d)
xvfb=
app=
cleanup() {
    if [ -n "$app" ]; then kill -9 "$app" 2>/dev/null || true; fi
    if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -f "$tmp/orvalin.log" ] && cat "$tmp/orvalin.log" >&2
    exit 1
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$tmp/display" ] && break
    sleep 0.1
done
[ -s "$tmp/display" ] || { echo "no X server came up: skipped"; exit 77; }
DISPLAY=:$(cat "$tmp/display")
export DISPLAY
export QT_QPA_PLATFORM=xcb XDG_STATE_HOME="$tmp/state" ORVALIN_AUTOSAVE_SECONDS=1 HOME="$tmp/home"
mkdir -p "$HOME" "$tmp/start"
cd "$tmp/start"
# The English marker: the window's texts and the buttons' places do not depend on the locale.
: >english.txt
recovery=$XDG_STATE_HOME/orvalin/recovery

start() {
    "$orvalin" "$@" >"$tmp/orvalin.log" 2>&1 &
    app=$!
    timeout 30 xdotool search --sync --onlyvisible --name '^Orvalin' >/dev/null || fail "no window"
    # The window settles and loads the file given.
    sleep 2
}
click() {
    xdotool mousemove "$1" "$2" click 1
    sleep 0.5
}
crash() {
    kill -9 "$app"
    wait "$app" 2>/dev/null || true
    app=
}
copies() {
    find "$recovery" -maxdepth 1 -name '*.orvm' 2>/dev/null | sort
}

# The window sits at the screen's top-left corner (no window manager): the
# Measure tab, then the two ends of a distance on the image beside the column.
start "$sample"
click 146 62
click 400 450
click 620 560
# The first copy: the measurement file, image included.
sleep 3
click 400 350
click 620 380
# The next: the measurements alone.
sleep 3
crash

first=$(copies)
[ "$(echo "$first" | grep -c .)" = 1 ] || fail "expected one recovery copy, found: $first"
[ "$("$probe" "$first")" = 1 ] || fail "the measurement file was not kept as first written for the image"
[ "$("$probe" --entry "$first")" = 2 ] || fail "the copy does not hold the newest measurements"

# Started again: the question comes first; Return takes its default, Restore.
start
xdotool key Return
# The restored work goes into this session's own copy at once.
sleep 2
crash
second=$(copies)
[ -e "$first" ] && fail "the copy restored was kept"
[ "$(echo "$second" | grep -c .)" = 1 ] || fail "expected this session's copy, found: $second"
[ "$("$probe" --entry "$second")" = 2 ] || fail "the restored session does not hold the newest measurements"
echo "restored"
