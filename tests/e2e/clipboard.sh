#!/usr/bin/env bash
# Rows copied in one running copy of the program paste into a second one through the
# real X clipboard, non-ASCII names included.
TABRIX=$1
source "$(dirname "$0")/xvfb-session.sh"

start_tabrix first
first=$(wait_window "Marvane Tabrix - Untitled1")
start_tabrix second
sleep 3.2 # both splash screens gone
second=$(xdotool search --name "^Marvane Tabrix - Untitled1\$" | grep -v "^$first\$" | head -n 1)
[ -n "$second" ] || fail "no second window"

# In the first copy: a new row with an address and a name, then select the whole row
# (address column to the last column) and copy it.
keys "$first" ctrl+r
type_text "$first" "1/0/7"
keys "$first" Return Tab
type_text "$first" "Küche "
keys "$first" shift+adiaeresis
type_text "$first" "pfel Ωμέγα"
keys "$first" Return Left shift+End ctrl+c
sleep 0.3
copied=$(xclip -o -selection clipboard)
case "$copied" in
*"<marvanezerezoderadazavodoclip><row><Address>1/0/7</Address><Name>Küche Äpfel Ωμέγα</Name>"*) ;;
*) fail "the first copy put this on the clipboard: $copied" ;;
esac

# In the second copy: paste it as a new row, then copy that row back out.
keys "$second" ctrl+v
printf 'nothing' | xclip -i -selection clipboard
sleep 0.3
keys "$second" Home shift+End ctrl+c # Home: the address cell, the first data cell
sleep 0.3
pasted=$(xclip -o -selection clipboard)
[ "$pasted" = "$copied" ] || fail "the second copy holds: $pasted"
echo "1 passed, 0 failed"
