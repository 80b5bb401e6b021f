# shellcheck shell=bash disable=SC2154 # the harness state set by run-e2e
# Steps of the end-to-end run with the keyboard alone: from the active clock through its menu to
# the Options dialog, whose Enter and Escape press nothing, into the About box, through its links
# and out by its close picture, and back to the dialog. Sourced by run-e2e, whose helpers and
# state (clock, work) they use; the clock must have been started with the stand-in opener.

# The top-left corner "X Y" of the clock's popup menu while it is shown: the one window of the
# program that the window manager does not manage.
popup_menu_at() {
    local id
    for id in $(xdotool search --onlyvisible --class '^vindrel$' 2>/dev/null); do
        xwininfo -all -id "$id" | grep -q 'Override Redirect State: yes' || continue
        geometry "$id" | cut -d' ' -f1,2
        return 0
    done
    return 1
}
menu_closed() { ! popup_menu_at >/dev/null; }

keyboard_to_options() {
    xdotool mousemove 790 590 # out of the clock's way: nothing here goes by the pointer
    activate "$clock" || fail "the clock never got the keyboard"
    local x y under at key
    read -r x y _ < <(geometry "$clock")
    under="$((x + 1)) $((y + 15))" # below the title strip, inside the border
    for key in Menu shift+F10; do
        xdotool key "$key"
        within 30 popup_menu_at || fail "$key did not open the clock's menu"
        at=$(popup_menu_at)
        [ "$at" = "$under" ] || fail "$key opened the menu at $at, not under the title strip ($under)"
        xdotool key Escape
        within 30 menu_closed || fail "Escape did not close the clock's menu"
    done
    hidden 'Brambleton Vindrel' || fail "opening and closing the menu opened the Options dialog"
    xdotool key Menu
    within 30 popup_menu_at || fail "Menu did not open the clock's menu again"
    xdotool key o
    within 30 shown 'Brambleton Vindrel' || fail "O in the clock's menu did not open the Options dialog"
    # Whether Enter or Escape closed it shows once the next key, Alt+B, has opened the About box.
    xdotool key Return Escape
    pass "the Menu key and Shift+F10 open the clock's menu under its title strip; O opens Options"
}

keyboard_through_about() {
    rm -f "$work/opened.args" "$work/opened.env"
    xdotool key alt+b
    within 30 shown 'About Vindrel' || fail "Alt+B did not open the About box"
    shown 'Brambleton Vindrel' || fail "Enter or Escape closed the Options dialog"
    xdotool key Escape Tab Return # the mail link
    within 30 test -s "$work/opened.env" || fail "Enter on the mail link started no program"
    grep -q '^mailto:' "$work/opened.args" || fail "the opener was given $(cat "$work/opened.args")"
    # Escape came before the keys the box has now taken.
    shown 'About Vindrel' || fail "Escape or Enter on a link closed the About box"
    xdotool key Tab Tab space # past the web link, round to the close picture
    within 30 hidden 'About Vindrel' || fail "Space on the close picture did not close the About box"
    xdotool key alt+o
    within 30 hidden 'Brambleton Vindrel' ||
        fail "Alt+O did not close the Options dialog: the keyboard did not come back to it"
    pass "the About box: Escape closes nothing, Tab reaches the links, the close picture closes it"
}
