#!/usr/bin/env bash
# The real program starts in a real X server: splash, then the first untitled
# document; File > Exit ends it with exit code 0.
TABRIX=$1
shots=$2
source "$(dirname "$0")/xvfb-session.sh"

start_tabrix main
pid=$last_pid
sleep 1
xdotool search --name "^Marvane Tabrix - Untitled1\$" >/dev/null 2>&1 &&
    [ -n "$(xdotool search --onlyvisible --name "^Marvane Tabrix - Untitled1\$" 2>/dev/null)" ] &&
    fail "the main window showed during the splash time"
window=$(wait_window "Marvane Tabrix - Untitled1")
for _ in $(seq 60); do
    xdotool search --onlyvisible --name "^Marvane Tabrix - Untitled1\$" >/dev/null 2>&1 && break
    sleep 0.1
done
sleep 0.5
mkdir -p "$shots"
import -window root "$shots/main-window.png"
[ -s "$shots/main-window.png" ] || fail "no screenshot"

keys "$window" alt+f x
for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "File > Exit did not end the program"
wait "$pid"
echo "exit code $?"
echo "1 passed, 0 failed"
