#!/usr/bin/env bash
# tvxkit started from its run directory opens the launcher and writes nothing there.
set -Eeuo pipefail
trap 'echo "$(basename "$0"): failed at line $LINENO: $BASH_COMMAND" >&2' ERR
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a bash "$0" "$@"
fi
run=$1
work=$(mktemp -d)
log=$(mktemp)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work" "$log"' EXIT
cp "$run/tvxkit" "$work/"
export XDG_RUNTIME_DIR="$work/xdg" XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

before=$(cd "$work" && ls -A | sort)
"$work/tvxkit" >"$log" 2>&1 &
pid=$!
win=""
for _ in $(seq 1 100); do
    win=$(xdotool search --name "^Tolvane工具箱$" 2>/dev/null | head -1 || true)
    [ -n "$win" ] && break
    sleep 0.1
done
[ -n "$win" ] || { echo "the launcher did not open"; cat "$log"; exit 1; }
sleep 0.5
kill -0 "$pid" || { echo "tvxkit ended early"; cat "$log"; exit 1; }
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=""

after=$(cd "$work" && ls -A | sort)
[ "$before" = "$after" ] || { echo "tvxkit wrote files: $after"; exit 1; }
echo "toolbox start: ok"
