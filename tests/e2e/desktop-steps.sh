# shellcheck shell=bash disable=SC2154 # the harness state set by run-e2e
# Steps of the end-to-end run that check the clock as a desktop citizen: keep-above asked of the
# window manager on every activation, Qt's own command-line options ignored, the About box
# closed only by its picture, the environment the programs it starts get, and a lost window
# brought back. Sourced by run-e2e, whose helpers and state (clock, dragged, work) they use.

has_above() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
lacks_above() { ! has_above "$1"; }

# A window of another program, out of the clock's way, to take the focus.
open_elsewhere() {
    xmessage -geometry +560+440 "elsewhere" >/dev/null 2>&1 &
    pids+=($!)
    within 30 shown xmessage || fail "xmessage did not appear"
    elsewhere=$(window_named xmessage)
}
focus_elsewhere() { activate "$elsewhere" || fail "the other window never got the keyboard"; }

# A click on the face, which does nothing in the clock, activates it through the window manager.
click_face() {
    local x y
    read -r x y _ < <(geometry "$clock")
    xdotool mousemove $((x + 50)) $((y + 30)) click 1
}

open_options() {
    menu o
    within 30 shown 'Brambleton Vindrel' || fail "the Options dialog did not open"
    options=$(window_named 'Brambleton Vindrel')
}

ok_options() {
    xdotool mousemove --window "$options" 380 155 click 1
    within 30 hidden 'Brambleton Vindrel' || fail "Ok did not close the Options dialog"
}

# While another window has the focus, wmctrl adds or removes ($1) keep-above; then a click
# activates the clock, which must come back to the state $2 tests.
outside_then_click() {
    local changed=lacks_above
    [ "$1" = add ] && changed=has_above
    focus_elsewhere
    wmctrl -i -r "$clock" -b "$1,above"
    within 30 "$changed" "$clock" || fail "wmctrl could not $1 keep-above"
    focus_elsewhere # again: had the clock taken the keyboard since, the click would not activate it
    click_face
    within 30 "$2" "$clock"
}

# A property set from here, again until xev shows it, tells that xev watches the clock.
xev_watches() {
    xprop -id "$clock" -f _E2E_WATCHED 8s -set _E2E_WATCHED yes
    grep -q _E2E_WATCHED "$work/structure.log"
}

keep_above_reapplied() {
    open_elsewhere
    stdbuf -oL xev -id "$clock" -event structure -event property >"$work/structure.log" 2>&1 &
    structure_watch=$!
    pids+=("$structure_watch")
    within 30 xev_watches || fail "xev does not watch the clock"
    outside_then_click remove has_above ||
        fail "activating the clock did not ask for keep-above again"
    pass "an activation asks the window manager again for the keep-above taken away from outside"
}

keep_above_cleared() {
    open_options
    xdotool mousemove --window "$options" 150 160 click 1 # clears "Al&ways On Top"
    within 30 lacks_above "$clock" || fail "clearing Always On Top kept the clock above"
    [ "$(stored '' AlwaysOnTop)" = "0" ] || fail "AlwaysOnTop 0 was not stored at once"
    ok_options
    outside_then_click add lacks_above ||
        fail "activating the clock left a keep-above set from outside"
    kill "$structure_watch"
    [ "$(window_named Vindrel)" = "$clock" ] || fail "the clock window was made anew"
    if grep -E '^(UnmapNotify|MapNotify|DestroyNotify|ReparentNotify)' "$work/structure.log"; then
        fail "setting the stacking unmapped or re-created the clock window"
    fi
    pass "with Always On Top off, an activation clears a keep-above set from outside; never re-mapped"
}

# Stands in for the desktop's opener: records what it was started with.
fake_opener() {
    mkdir -p "$work/bin"
    cat >"$work/bin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$@" >"$work/opened.args"
env >"$work/opened.env.part" && mv "$work/opened.env.part" "$work/opened.env"
EOF
    chmod +x "$work/bin/xdg-open"
}

arguments_ignored() {
    shoot "$clock" before-arguments
    menu q
    within 30 ended "$clock_pid" || fail "Quit did not end the program"
    fake_opener
    # A Wayland session, where the clock asks Qt for XWayland, and Qt's own options.
    PATH="$work/bin:$PATH" XDG_SESSION_TYPE=wayland \
        start_clock -qwindowgeometry 300x200+10+10 -reverse
    local x y
    read -r x y _ < <(geometry "$clock")
    [ "$x $y" = "$dragged" ] || fail "the clock started at $x,$y, not at its stored $dragged"
    shoot_until "$clock" with-arguments 3 3 != 0,0,0 || fail "the clock was never painted"
    # The zone label, right-aligned in a box wider than its digits: mirrored, they move. Only
    # its right end is compared: the rest of its box overlaps the time's, whose digits change.
    local zone=9x17+92+15
    convert "$shots/before-arguments.png" -crop "$zone" "$work/zone-before.png"
    convert "$shots/with-arguments.png" -crop "$zone" "$work/zone-after.png"
    [ "$(compare -metric AE "$work/zone-before.png" "$work/zone-after.png" null: 2>&1)" = "0" ] ||
        fail "-reverse mirrored the clock's labels"
    pass "-qwindowgeometry and -reverse do nothing: the clock is at its stored place, unmirrored"
}

about_box() {
    open_options
    xdotool mousemove --window "$options" 324 156 click 1 # "A&bout"
    within 30 shown 'About Vindrel' || fail "the About box did not open"
    local about
    about=$(window_named 'About Vindrel')
    wmctrl -i -c "$about" # as a taskbar closes a window
    activate "$about" || fail "the About box never got the keyboard"
    xdotool key alt+F4
    xdotool mousemove --window "$about" 40 104 click 1 # the mail link
    within 30 test -s "$work/opened.env" || fail "the mail link started no program"
    # The closes came before the click that the box has now taken.
    shown 'About Vindrel' || fail "a close asked by the window manager closed the About box"
    grep -q '^mailto:' "$work/opened.args" || fail "the opener was given $(cat "$work/opened.args")"
    grep -qx 'XDG_SESSION_TYPE=wayland' "$work/opened.env" ||
        fail "the opener did not get the environment the clock was started with"
    if grep -E '^(QT_XCB_NO_MITSHM|QT_NO_GLIB|QT_QPA_PLATFORM)=' "$work/opened.env"; then
        fail "the opener inherited what the clock set for its own Qt"
    fi
    xdotool mousemove --window "$about" 262 29 click 1 # the close picture
    within 30 hidden 'About Vindrel' || fail "the close picture did not close the About box"
    ok_options
    pass "the About box ignores the window manager's close; its link's opener gets the clock's first environment"
}

quit_keeps_the_stored_position() {
    menu q
    within 30 ended "$clock_pid" || fail "Quit did not end the program"
    local x=${dragged% *} y=${dragged#* }
    [ "$(stored '' X) $(stored '' Y)" = "$((x * 15)) $((y * 15))" ] ||
        fail "Quit stored $(stored '' X),$(stored '' Y) twips, not the clock's place $dragged"
    pass "Quit stores the clock's own place, not one given on the command line"
}

store_position() {
    "$reg" add 'HKCU\Software\Brambleton\Vindrel' /v X /d "$1" /f >/dev/null
    "$reg" add 'HKCU\Software\Brambleton\Vindrel' /v Y /d "$2" /f >/dev/null
}

lost_window_at_start() {
    store_position 30000 4500 # 2000, 300 pixels: right of the 800-pixel screen
    start_clock
    at 698 300 || fail "a clock stored off the screen started at $(geometry "$clock")"
    [ "$(stored '' X)" = "30000" ] || fail "bringing the clock back stored $(stored '' X)"
    grep -q "title strip on a screen; moved" "$log" || fail "bringing the clock back was not logged"
    menu q
    within 30 ended "$clock_pid" || fail "Quit did not end the program"
    store_position 11700 4500 # 780, 300: the title strip partly on the screen
    start_clock
    at 780 300 || fail "a clock partly past the edge was moved to $(geometry "$clock")"
    pass "a clock stored off every screen starts on the nearest edge; one partly off stays put"
}

# In a nested X server without a window manager, which would bring windows back itself.
lost_window_when_screens_change() {
    menu q
    within 30 ended "$clock_pid" || fail "Quit did not end the program"
    Xephyr -displayfd 5 -screen 800x600 -nolisten tcp 5>"$work/nested" >/dev/null 2>&1 &
    pids+=($!)
    within 30 test -s "$work/nested" || fail "Xephyr did not start"
    local nested
    nested=":$(cat "$work/nested")"
    store_position 9000 4500 # 600, 300
    DISPLAY=$nested start_clock
    local moves
    moves=$(grep -c "title strip on a screen; moved" "$log" || true)
    DISPLAY=$nested xrandr -s 640x480 || fail "the nested screen could not be made smaller"
    DISPLAY=$nested xrandr -s 320x240 || fail "the nested screen could not be made smaller"
    DISPLAY=$nested within 30 at 218 180 ||
        fail "a clock left off the smaller screen stayed at $(DISPLAY=$nested geometry "$clock")"
    # Both changes seen by now: the first, which left part of the title strip on the screen,
    # moved nothing.
    [ "$(grep -c "title strip on a screen; moved" "$log")" = "$((moves + 1))" ] ||
        fail "a clock partly past the new edge was moved"
    kill "$clock_pid"
    within 30 ended "$clock_pid" || fail "the clock did not end"
    [ "$(stored '' X) $(stored '' Y)" = "9000 4500" ] || fail "bringing the clock back stored it"
    pass "when the screen shrinks, a clock left off it comes back to the edge; one partly on stays"
}
