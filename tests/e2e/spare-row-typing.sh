#!/usr/bin/env bash
# Typing along the spare row at full speed, with Create new row on edit and Auto increment
# group address on: address, Tab, name, Enter; then name, Tab, a letter for the type's
# list, Enter on the next spare row. Every value lands in the cell it was typed for.
TABRIX=$1
source "$(dirname "$0")/xvfb-session.sh"

mkdir -p "$work/main-config/Marvane"
printf '[General]\nCreateRowOnEdit=1\nIncrementGroupAddress=1\n' >"$work/main-config/Marvane/Tabrix.conf"
start_tabrix main
window=$(wait_window "Marvane Tabrix - Untitled1")
sleep 3.2 # the splash screen gone

# copied_row ROW: the row document of that data row, as Copy of the whole row gives it.
copied_row() {
    keys "$window" ctrl+Home
    for ((i = 1; i < $1; i++)); do keys "$window" Down; done
    keys "$window" shift+End ctrl+c
    sleep 0.3
    xclip -o -selection clipboard
}

# fast WORD...: types the words at full speed, 12 ms between keys, with no pause between
# them; \t is the Tab key and \n the Return key (xdotool would type a line break as
# Linefeed).
fast() {
    local word
    for word in "$@"; do
        case "$word" in
        '\t') xdotool key Tab ;;
        '\n') xdotool key Return ;;
        *) xdotool type --delay 12 "$word" ;;
        esac
    done
}

keys "$window" ctrl+Home
fast 1/0/7 '\t' Hall '\n'
sleep 0.5
row=$(copied_row 1)
case "$row" in
*"<row><Address>1/0/7</Address><Name>Hall</Name>"*) ;;
*) fail "after typing along the spare row, row 1 holds: $row" ;;
esac

keys "$window" Escape ctrl+Home Down Right
fast Attic '\t' b '\n'
sleep 0.5
row=$(copied_row 2)
case "$row" in
*"<row><Address>1/0/8</Address><Name>Attic</Name><Type>Boolean</Type>"*) ;;
*) fail "after a name and a list letter on the spare row, row 2 holds: $row" ;;
esac
echo "2 passed, 0 failed"
