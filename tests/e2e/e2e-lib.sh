# What the end-to-end runs share: waiting for a condition, an X server with a window manager,
# and looking at windows and their pixels. The sourcing script sets $work (a folder of its own),
# $shots (where screenshots go), $log (the program's log) and $clock (the clock's window, once
# known), and keeps the processes it starts in the array pids.

fail() {
    echo "FAILED: $*" >&2
    import -window root "$shots/failure.png" 2>/dev/null || true
    echo "--- clock log (last lines)" >&2
    tail -n 20 "$log" >&2 || true
    exit 1
}
pass() { echo "ok: $*"; }

# Waits up to $1 seconds for the command after it to succeed.
within() {
    local seconds=$1
    shift
    local end=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < end)) || return 1
        sleep 0.2
    done
}

start_display() {
    Xvfb -displayfd 5 -screen 0 800x600x24 -nolisten tcp 5>"$work/display" 2>/dev/null &
    pids+=($!)
    within 30 test -s "$work/display" || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$work/display")"
    openbox --sm-disable >/dev/null 2>&1 &
    pids+=($!)
    within 30 sh -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" ||
        fail "the window manager did not start"
    # It names itself a moment before it manages windows, and a window mapped in between is
    # never shown: a probe window it lists says that it is ready.
    local managed=no probe
    for _ in 1 2 3 4 5; do
        xmessage -name e2e-probe ready >/dev/null 2>&1 &
        probe=$!
        within 10 sh -c "xprop -root _NET_CLIENT_LIST | grep -q 'window id'" && managed=yes
        kill "$probe" 2>/dev/null || true
        wait "$probe" 2>/dev/null || true
        [ "$managed" = no ] || break
    done
    [ "$managed" = yes ] || fail "the window manager does not manage windows"
}

window_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
shown() { [ -n "$(window_named "$1")" ]; }
hidden() { [ -z "$(window_named "$1")" ]; }

# Absolute position and size of a window: "X Y W H".
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
        /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'
}

# The colour of one pixel of a window's picture, as "r,g,b".
pixel() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

shoot() { import -window "$1" "$shots/$2.png"; }

# Takes screenshot $2 of window $1 until its pixel at $3,$4 compares with the colour $6 as the
# test operator $5 says (= or !=); false when it never did within 30 s. A window mapped, or told
# to change, is painted a moment later, longer on a busy machine.
shoot_until() {
    local end=$((SECONDS + 30))
    until shoot "$1" "$2" 2>/dev/null && [ "$(pixel "$shots/$2.png" "$3" "$4")" "$5" "$6" ]; do
        ((SECONDS < end)) || return 1
        sleep 0.2
    done
}

# The window $1 has the keyboard.
active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

# Gives the window $1 the keyboard, asking again until it has it. Not xdotool's --sync, which
# gives up at once when no window is active, as for a moment after a dialog closes.
asked_active() { active "$1" || { xdotool windowactivate "$1" 2>/dev/null && false; }; }
activate() { within 30 asked_active "$1"; }

# The clock's top-left corner is at $1,$2.
at() {
    local x y
    read -r x y _ < <(geometry "$clock")
    [ "$x $y" = "$1 $2" ]
}

# The process has ended (a zombie not yet reaped counts as ended).
ended() {
    local state
    state=$(ps -o stat= -p "$1" 2>/dev/null || true)
    [ -z "$state" ] || [[ $state == Z* ]]
}
