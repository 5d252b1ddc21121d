#!/usr/bin/env bash
# Once a modal dialog closes, the keyboard is back in the main window, also where no
# window manager hands it back: the about box is opened from the menu and closed with Enter.
TABRIX=$1
source "$(dirname "$0")/xvfb-session.sh"

start_tabrix main
window=$(wait_window "Marvane Tabrix - Untitled1")
sleep 0.5
keys "$window" alt+h a
about=$(wait_window "About")
for _ in $(seq 50); do
    [ "$(xdotool getwindowfocus)" = "$about" ] && break
    sleep 0.1
done
[ "$(xdotool getwindowfocus)" = "$about" ] || fail "the about box did not take the keyboard"
xdotool key Return
for _ in $(seq 50); do
    [ "$(xdotool getwindowfocus)" = "$window" ] && break
    sleep 0.1
done
[ "$(xdotool getwindowfocus)" = "$window" ] ||
    fail "the keyboard went to window $(xdotool getwindowfocus), not back to the main window"
echo "1 passed, 0 failed"
