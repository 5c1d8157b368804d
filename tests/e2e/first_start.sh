#!/usr/bin/env bash
# First start in an empty run directory creates task.edb with exactly the default record and
# the default music.db, and no config.ini; a second start changes none of them.
set -Eeuo pipefail
trap 'echo "$(basename "$0"): failed at line $LINENO: $BASH_COMMAND" >&2' ERR
run=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$run/TolvaneTVX" "$work/"
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$work/xdg" XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

start() {  # runs the program until task.edb exists and the first scan had time to run
    "$work/TolvaneTVX" >"$work/out.log" 2>&1 &
    local pid=$!
    for _ in $(seq 1 100); do [ -f "$work/task.edb" ] && break; sleep 0.05; done
    sleep 1
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

start
[ -f "$work/task.edb" ] || { echo "task.edb was not created"; cat "$work/out.log"; exit 1; }
rows=$(sqlite3 "$work/task.edb" "SELECT num, deleted, hex(B), hex(C), D, E FROM records ORDER BY num")
[ "$rows" = "1|0|0000|000000|0|0|1|" ] || { echo "unexpected records: $rows"; exit 1; }
[ ! -e "$work/config.ini" ] || { echo "config.ini was created"; exit 1; }
sums=$(cd "$work" && md5sum task.edb $(ls music.db 2>/dev/null))

start
after=$(cd "$work" && md5sum task.edb $(ls music.db 2>/dev/null))
[ "$sums" = "$after" ] || { echo "a second start changed the files"; echo "$sums"; echo "$after"; exit 1; }
[ ! -e "$work/config.ini" ] || { echo "config.ini was created"; exit 1; }
echo "first start: ok"
