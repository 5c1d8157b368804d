#!/usr/bin/env bash
# Figures of the real alarm clock under Xvfb (prints them; not a test):
#   - start to main window shown, over several starts (median and worst);
#   - resident memory after start-up;
#   - CPU used over 60 s with the main window hidden in the notification area;
#   - delay from a ring's second to its ring window being shown, over 20 rings.
# Usage: tools/bench-ui.sh [run directory]   (default: build/run)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
run=$(cd "${1:-$root/build/run}" && pwd)
export LC_ALL=C.UTF-8
. "$root/tests/e2e/lib.bash"
x_display TOLVANE_BENCH_DISPLAY 600 "$0" "$run"

work=$(mktemp -d)
pid=""
tray=""
cleanup() {
    for p in $pid $tray; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
x_env "$work"
export SDL_AUDIODRIVER=dummy
title=$main_title
# Ends the program and waits until the X server has taken its windows down, so that the next
# start is not timed against a window of the last one.
stop() {
    kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; pid=""
    while [ -n "$(visible "$title")" ]; do sleep 0.01; done
}
fresh() { rm -rf "$work/run"; cp -r "$run" "$work/run"; rm -f "$work/run/task.edb" "$work/run/config.ini"; }
launch() { (cd "$work/run" && exec ./TolvaneTVX >"$work/out.log" 2>&1) & pid=$!; }
# Sets `ms` to the milliseconds from launch to the main window being viewable.
start_time() {
    local t0 t1
    t0=$(date +%s.%N)
    launch
    while [ -z "$(visible "$title")" ]; do
        kill -0 "$pid" 2>/dev/null || { echo "the program ended at start" >&2; exit 1; }
        sleep 0.005
    done
    t1=$(date +%s.%N)
    ms=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.0f", (b - a) * 1000 }')
}

start_tray_host

# Start to window: a first start (creates task.edb) and later starts.
starts=()
for i in $(seq 1 9); do
    [ "$i" = 1 ] && fresh
    start_time
    starts+=("$ms")
    sleep 0.5
    stop
done
sorted=$(printf '%s\n' "${starts[@]}" | sort -n)
echo "start to main window (ms): $(echo "${starts[@]}")"
echo "  median $(echo "$sorted" | sed -n 5p) ms, worst $(echo "$sorted" | tail -n1) ms"

# Memory and idle CPU.
launch
while [ -z "$(visible "$title")" ]; do sleep 0.01; done
# Up to 5 s for the icon to be embedded in the tray.
for _ in $(seq 1 100); do find_tray_icon && break; sleep 0.05; done
sleep 2
echo "resident memory after start-up: $(awk '/VmRSS/ { printf "%.1f MiB", $2 / 1024 }' "/proc/$pid/status")"
main=$(visible "$title")
main_geometry "$main"
xdotool mousemove --window "$main" 56 $(( menu + 144 )) click 1   # 缩小到托盘
sleep 1
[ -z "$(visible "$title")" ] || echo "  (no notification area: the window was minimized instead of hidden)"
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
hz=$(getconf CLK_TCK)
c0=$(ticks); t0=$(date +%s.%N)
sleep 60
c1=$(ticks); t1=$(date +%s.%N)
awk -v c="$((c1 - c0))" -v hz="$hz" -v a="$t0" -v b="$t1" \
    'BEGIN { printf "CPU over %.0f s with the window hidden: %.3f %% of one core (%d ticks)\n", b - a, 100 * c / hz / (b - a), c }'
stop

# Ring delay: 20 once tasks, three seconds apart, each dismissed with 知道了.
first=$(( $(date +%s) + 12 ))
sql="BEGIN;"
for i in $(seq 0 19); do
    t=$(( first + 3 * i ))
    c=$(printf '%02X%02X%02X' "$(date -d "@$t" +%-H)" "$(date -d "@$t" +%-M)" "$(date -d "@$t" +%-S)")
    sql+="INSERT INTO records(num, deleted, B, C, D, E) VALUES ($(( i + 2 )), 0, x'0100', x'$c', '0', '0|1|');"
done
sqlite3 "$work/run/task.edb" "$sql COMMIT;"
launch
delays=()
for i in $(seq 0 19); do
    t=$(( first + 3 * i ))
    ring=""
    while [ -z "$ring" ]; do
        ring=$(visible "Tolvane 响铃提示")
        [ "$(date +%s)" -le $(( t + 3 )) ] || break
        [ -n "$ring" ] || sleep 0.005
    done
    if [ -z "$ring" ]; then delays+=("missed"); continue; fi
    delays+=("$(awk -v a="$(date +%s.%N)" -v b="$t" 'BEGIN { printf "%.0f", (a - b) * 1000 }')")
    sleep 0.3
    xdotool mousemove --window "$ring" 138 156 click 1   # 知道了
    while [ -n "$(visible "Tolvane 响铃提示")" ]; do sleep 0.02; done
done
stop
echo "ring delay (ms): ${delays[*]}"
printf '%s\n' "${delays[@]}" | grep -v missed | sort -n | awk '
    { v[NR] = $1 } END { if (NR) printf "  %d rings: median %d ms, worst %d ms\n", NR, v[int((NR + 1) / 2)], v[NR]; else print "  no ring window was seen" }'
