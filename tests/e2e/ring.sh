#!/usr/bin/env bash
# A person quick-adds a once task a few seconds ahead in a fresh copy of the run directory:
# the window "Tolvane 响铃提示" must appear within half a second of the task's second, real
# samples must reach the sound device (SDL's disk driver), "知道了" must close the window, and
# the once task must be gone from task.edb afterwards.
set -Eeuo pipefail
trap 'echo "$(basename "$0"): failed at line $LINENO: $BASH_COMMAND" >&2' ERR
run=$(cd "$1" && pwd)
export LC_ALL=C.UTF-8
. "$(dirname "$0")/lib.bash"
x_display TOLVANE_E2E_DISPLAY 180 "$0" "$run"

work=$(mktemp -d)
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "ring: $*"; [ -f "$work/run/out.log" ] && sed -n 1,40p "$work/run/out.log"; exit 1; }

cp -r "$run" "$work/run"
rm -f "$work/run/task.edb" "$work/run/config.ini" "$work/run/music.db" "$work/run/out.log"
x_env "$work"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw"

now() { date +%s.%N; }
live_tasks() { sqlite3 "$work/run/task.edb" "SELECT count(*) FROM records WHERE num >= 2 AND deleted = 0"; }

(cd "$work/run" && exec ./TolvaneTVX >"$work/run/out.log" 2>&1) &
pid=$!

main=""
for _ in $(seq 1 200); do
    main=$(visible "$main_title")
    [ -n "$main" ] && break
    sleep 0.05
done
[ -n "$main" ] || fail "the main window did not appear"
for _ in $(seq 1 100); do [ -f "$work/run/task.edb" ] && break; sleep 0.05; done
[ -f "$work/run/task.edb" ] || fail "task.edb was not created"

main_geometry "$main"
click_at() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.15; }

target=$(( $(date +%s) + 7 ))
hh=$(date -d "@$target" +%-H); mm=$(date -d "@$target" +%-M); ss=$(date -d "@$target" +%-S)
# Hour, minute and second boxes, each clicked and typed into; then "确定并保存".
click_at "$main" 110 $(( menu + 68 )); xdotool type --delay 40 "$hh"
click_at "$main" 160 $(( menu + 68 )); xdotool type --delay 40 "$mm"
click_at "$main" 211 $(( menu + 68 )); xdotool type --delay 40 "$ss"
click_at "$main" 324 $(( menu + 144 ))
sleep 0.3
[ "$(date +%s)" -lt "$target" ] || fail "typing took too long; the task's second has passed"
rows=$(sqlite3 "$work/run/task.edb" "SELECT hex(B) || ' ' || hex(C) FROM records WHERE num >= 2 AND deleted = 0")
want=$(printf '0100 %02X%02X%02X' "$hh" "$mm" "$ss")
[ "$rows" = "$want" ] || fail "quick add stored '$rows', expected '$want'"

ring=""
while :; do
    ring=$(visible "$ring_title")
    [ -n "$ring" ] && break
    [ "$(date +%s)" -le $(( target + 5 )) ] || fail "no ring window within 5 s of the task's second"
    sleep 0.02
done
seen=$(now)
delay=$(awk -v a="$seen" -v b="$target" 'BEGIN { printf "%.3f", a - b }')
echo "ring window shown ${delay} s after the task's second"
awk -v d="$delay" 'BEGIN { exit !(d >= 0 && d < 0.5) }' || fail "ring window shown ${delay} s after its second (want 0 to 0.5 s)"

# Real samples: anything but silence in what the disk driver wrote.
heard=0
for _ in $(seq 1 40); do
    if [ -f "$SDL_DISKAUDIOFILE" ] && python3 - "$SDL_DISKAUDIOFILE" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
sys.exit(0 if any(data) else 1)
PY
    then heard=1; break; fi
    sleep 0.1
done
[ "$heard" = 1 ] || fail "no sound samples were written while the ring window was open"

# "知道了" lies at 107,144 (62 x 24) in the ring window.
click_at "$ring" 138 156
for _ in $(seq 1 40); do [ -z "$(visible "$ring_title")" ] && break; sleep 0.05; done
[ -z "$(visible "$ring_title")" ] || fail "the ring window stayed open after 知道了"

left=""
for _ in $(seq 1 40); do left=$(live_tasks); [ "$left" = 0 ] && break; sleep 0.05; done
[ "$left" = 0 ] || fail "the once task is still in task.edb"
kill -0 "$pid" 2>/dev/null || fail "the program ended after the ring"
echo "ring: ok"
