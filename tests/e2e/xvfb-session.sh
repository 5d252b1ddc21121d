# Shared by the end-to-end tests: a private X server and helpers to drive the real
# program in it. Source it; it sets DISPLAY and cleans up on exit.
set -euo pipefail
export LC_ALL=C.UTF-8 # the texts typed are UTF-8, taken a character at a time

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(cat "$work/display")"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# start_tabrix NAME: starts the program with its own settings folder; sets the pid.
start_tabrix() {
    local name=$1
    mkdir -p "$work/$name-config"
    XDG_CONFIG_HOME="$work/$name-config" "$TABRIX" >"$work/$name.log" 2>&1 &
    last_pid=$!
    pids+=("$last_pid")
}

# wait_window TITLE: prints the id of the window with exactly this title.
wait_window() {
    local title=$1 id
    for _ in $(seq 100); do
        id=$(xdotool search --name "^${title}\$" 2>/dev/null | head -n 1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    fail "no window titled '$title'"
}

# keys WINDOW KEY...: focuses the window and presses the keys one after another.
keys() {
    local window=$1
    shift
    xdotool windowfocus --sync "$window"
    for key in "$@"; do
        xdotool key --clearmodifiers "$key"
        sleep 0.15
    done
}

# type_text WINDOW TEXT: types the text. xdotool maps a letter beyond the keyboard to a
# spare key just before pressing it; a busy program may read the press before the new map
# and drop the letter, so such letters go one at a time, each after a pause.
type_text() {
    local window=$1 text=$2 i char
    xdotool windowfocus --sync "$window"
    for ((i = 0; i < ${#text}; i++)); do
        char=${text:i:1}
        if [[ $char == [[:print:]] && $(printf '%s' "$char" | wc -c) -eq 1 ]]; then
            xdotool type --delay 30 "$char"
        else
            sleep 0.2
            xdotool type --delay 200 "$char"
            sleep 0.2
        fi
    done
    sleep 0.2
}
