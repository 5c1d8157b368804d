#!/usr/bin/env bash
# The notification-area icon, driven like a person under Xvfb: with a tray host, "缩小到托盘"
# hides the main window, a double click on the icon brings it back, and "退出程序" from the
# icon's pop-up menu ends the program with exit code 0. Without a tray host the same button
# must leave the window reachable.
set -Eeuo pipefail
trap 'echo "$(basename "$0"): failed at line $LINENO: $BASH_COMMAND" >&2' ERR
run=$(cd "$1" && pwd)
export LC_ALL=C.UTF-8
. "$(dirname "$0")/lib.bash"
x_display TOLVANE_E2E_DISPLAY 120 "$0" "$run"

work=$(mktemp -d)
pid=""
tray=""
cleanup() {
    for p in $pid $tray; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "tray: $*"; [ -f "$work/out.log" ] && sed -n 1,40p "$work/out.log"; exit 1; }

cp -r "$run" "$work/run"
rm -f "$work/run/task.edb" "$work/run/config.ini" "$work/run/music.db"
x_env "$work"
export SDL_AUDIODRIVER=dummy

wait_until() {  # wait_until <tries of 50 ms> <command...>: true once the command succeeds
    local n=$1; shift
    for _ in $(seq 1 "$n"); do "$@" && return 0; sleep 0.05; done
    return 1
}
shown() { [ -n "$(visible "$main_title")" ]; }
hidden() { [ -z "$(visible "$main_title")" ]; }
start() {
    (cd "$work/run" && exec ./TolvaneTVX >"$work/out.log" 2>&1) &
    pid=$!
    wait_until 200 shown || fail "the main window did not appear"
    main=$(visible "$main_title")
    main_geometry "$main"
}
click_hide_button() { xdotool mousemove --window "$main" 56 $(( menu + 144 )) click 1; }

# With a tray host.
start_tray_host
start
icon=""
wait_until 100 find_tray_icon || fail "no icon in the notification area"
click_hide_button
wait_until 40 hidden || fail "缩小到托盘 did not hide the window"
xdotool mousemove --window "$icon" 8 8 click 1
sleep 0.6
hidden || fail "a single click on the icon showed the window"
xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 60 1
wait_until 40 shown || fail "a double click on the icon did not show the window"
xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 60 1
wait_until 40 hidden || fail "a second double click did not hide the window"
# Pop-up menu: the last item is "退出程序".
xdotool mousemove --window "$icon" 8 8 click 3
sleep 0.5
xdotool key Up Return
code=0
for _ in $(seq 1 60); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$pid" 2>/dev/null && fail "退出程序 did not end the program"
wait "$pid" || code=$?
pid=""
[ "$code" = 0 ] || fail "exit code $code after 退出程序"
kill "$tray"; wait "$tray" 2>/dev/null || true
tray=""

# Without a tray host the window must stay within reach.
start
click_hide_button
sleep 1
shown || fail "without a tray host 缩小到托盘 lost the window"
echo "tray: ok"
