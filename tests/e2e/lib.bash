# Shared by the end-to-end scripts in this folder and tools/bench-ui.sh; sourced, never run
# by itself (its name does not end in .sh, so it is no test of its own).

# x_display <marker variable> <time limit in s> <script> [args...]: unless the marker is set,
# runs the script again on a display of its own (Xvfb, 1280 x 1024) within the time limit,
# with the marker set; the shell that called it is replaced.
x_display() {
    local marker=$1 limit=$2
    shift 2
    if [ -z "${!marker:-}" ]; then
        exec timeout "$limit" xvfb-run -a -s "-screen 0 1280x1024x24" env "$marker=1" bash "$@"
    fi
}

# x_env <folder>: Qt on X, with a runtime and a config folder of its own under <folder>.
x_env() {
    mkdir -p "$1/xdg" && chmod 700 "$1/xdg"
    export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$1/xdg" XDG_CONFIG_HOME="$1/config"
}

main_title="Tolvane 2.0 Beta 岚绫会梦纪念版"
ring_title="Tolvane 响铃提示"

# visible <title>: the id of a visible window whose title is exactly <title>, or nothing.
visible() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true; }

# main_geometry <window id>: sets WIDTH, HEIGHT, … of the main window and `menu`, the height
# of its menu bar. The menu bar and the status bar share what is left of the height beside the
# 196 pixels of the panel; the controls lie in the panel below the menu bar.
main_geometry() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    menu=$(( (HEIGHT - 196) / 2 ))
}

# start_tray_host: starts a notification area in the top right corner and sets `tray` to its
# process id.
start_tray_host() {
    trayer --edge top --align right --widthtype pixel --width 100 --heighttype pixel --height 24 >/dev/null 2>&1 &
    tray=$!
    sleep 1
}

# find_tray_icon: sets `icon` to the program's small window embedded in the notification area;
# false while there is none.
find_tray_icon() {
    local w
    for w in $(xdotool search --onlyvisible --class '^TolvaneTVX$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        if [ "$WIDTH" -le 32 ] && [ "$HEIGHT" -le 32 ]; then icon=$w; return 0; fi
    done
    return 1
}
