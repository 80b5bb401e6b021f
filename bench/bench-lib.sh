# Shared by the benchmark scripts (sourced, not run): the packages they need, the build, a
# private X server and sound server, a settings store of their own seeded with 20 alarms and a
# skin, the peer program, and medians and ratios.
#
# Environment: RUNS (pairs of runs, default 5), VINDREL_BUILD_DIR (default build/),
# BENCH_PROGRAM (measured in the clock's place, default the clock).

set -euo pipefail

bench_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$bench_dir/.." && pwd)"
build="${VINDREL_BUILD_DIR:-$root/build}"
RUNS="${RUNS:-5}"

clock_cmd=("${BENCH_PROGRAM:-$build/vindrel}")
clock_name="$(basename "${clock_cmd[0]}")"
peer_cmd=(xclock -digital -update 1)

# Installs the missing packages (x11-apps for the peer, Xvfb, valgrind, a sound server, the X
# headers of the window watcher), then configures and builds.
bench_prepare() {
    local packages=(x11-apps xvfb x11-utils xdotool valgrind pulseaudio pulseaudio-utils
        dbus-daemon libxcb1-dev libxcb-damage0-dev python3)
    local missing=() p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        local sudo_cmd=()
        [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
        "${sudo_cmd[@]}" apt-get update -qq
        DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
            --no-install-recommends "${missing[@]}" >/dev/null
    fi
    "$root/scripts/setup" >/dev/null
    work="$(mktemp -d)"
    trap bench_cleanup EXIT
    bench_pids=()
}

bench_cleanup() {
    local i pid
    for ((i = ${#bench_pids[@]} - 1; i >= 0; --i)); do
        pid="${bench_pids[i]}"
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}

# The machine's load when a measurement starts; figures taken under load are worth less.
load_note() {
    echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
}

# What a desktop session offers the programs: an X server, a session bus, a sound server.
start_session() {
    start_display
    start_session_bus
    start_audio
}

# A private X server, as small as a desktop corner; sets DISPLAY.
start_display() {
    local fifo="$work/display"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 320x200x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
    bench_pids+=($!)
    export DISPLAY=":$(head -n1 "$fifo")"
}

# A private session bus, as every desktop session has one: without it Qt's accessibility bridge
# tries to start a bus at start-up, which no desktop user pays for. Sets
# DBUS_SESSION_BUS_ADDRESS.
start_session_bus() {
    local address="$work/bus-address"
    dbus-daemon --session --nofork --print-address=3 3>"$address" >/dev/null 2>&1 &
    bench_pids+=($!)
    local i
    for i in $(seq 50); do
        [ -s "$address" ] && break
        sleep 0.1
    done
    DBUS_SESSION_BUS_ADDRESS="$(head -n1 "$address")"
    export DBUS_SESSION_BUS_ADDRESS
}

# A private PulseAudio server with a null output, so that sounds really go to a device; sets
# PULSE_SERVER for the programs.
start_audio() {
    local state="$work/pulse"
    mkdir -p "$state" && chmod 700 "$state"
    HOME="$state" XDG_RUNTIME_DIR="$state" pulseaudio -n --daemonize=no --exit-idle-time=-1 \
        --disallow-exit -L module-null-sink \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$state/socket" \
        --log-level=error >/dev/null 2>&1 &
    bench_pids+=($!)
    export PULSE_SERVER="unix:$state/socket"
    local i
    for i in $(seq 50); do
        [ -S "$state/socket" ] && return 0
        sleep 0.1
    done
    echo "the sound server did not start" >&2
    return 1
}

# A settings store of the benchmarks' own (XDG_CONFIG_HOME), seeded with vindrel-reg: alarms
# switched on, the hour signal on, the skin named by $1 (a file of the Skins folder), and 20
# alarms for every day of every month, so that each tick compares all their times, due twelve
# hours from now, so that none sounds during a measurement.
seed_settings() {
    export XDG_CONFIG_HOME="$work/config"
    export XDG_DATA_HOME="$work/data" # no Skins folder of the user's
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    local reg="$work/settings.reg" hour n
    hour=$((($(date +%-H) + 12) % 24))
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\Software\\Brambleton\\Vindrel]\r\n'
        printf '"%s"="%s"\r\n' X 0 Y 0 HourSignal 1 AlarmEnabled 1 AlwaysOnTop 0 AlarmCount 20
        printf '"UsedSkinPath"="%s"\r\n\r\n' "$build/Skins/$1"
        printf '[HKEY_CURRENT_USER\\Software\\Brambleton\\Vindrel\\Alarms]\r\n'
        for n in $(seq -w 1 20); do
            printf '"%s.Name"="Alarm %s"\r\n' "$n" "$n"
            printf '"%s.%s"="%s"\r\n' "$n" Hour "$hour" "$n" Mins "$((10#$n * 2))" \
                "$n" Day 0 "$n" Month 0
        done
    } >"$reg"
    "$build/vindrel-reg" import "$reg" >/dev/null
}

# The median of the numbers on standard input.
median() {
    sort -g | awk '{v[NR] = $1} END {
        if (NR == 0) { print "nan"; exit }
        if (NR % 2) print v[(NR + 1) / 2]; else printf "%.4g\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The value at percentile $1 (nearest rank) of the numbers on standard input.
percentile() {
    sort -g | awk -v p="$1" '{v[NR] = $1} END {
        if (NR == 0) { print "nan"; exit }
        r = int(p / 100 * NR + 0.999999); if (r < 1) r = 1; print v[r] }'
}

# $1 / $2 to three figures.
ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (b == 0) print "inf"; else printf "%.3g\n", a / b }'
}

# Runs "$@" once per pair: the clock's measurement and the peer's, in alternating order, each
# as `measure NAME COMMAND...` printing one line of numbers; the lines go to $work/clock.txt
# and $work/peer.txt, one per run, pair by pair.
interleave() {
    local measure="$1" run
    : >"$work/clock.txt"
    : >"$work/peer.txt"
    for run in $(seq "$RUNS"); do
        if ((run % 2)); then
            "$measure" "${clock_cmd[@]}" >>"$work/clock.txt"
            "$measure" "${peer_cmd[@]}" >>"$work/peer.txt"
        else
            "$measure" "${peer_cmd[@]}" >>"$work/peer.txt"
            "$measure" "${clock_cmd[@]}" >>"$work/clock.txt"
        fi
        echo "  run $run: $clock_name $(tail -n1 "$work/clock.txt")   xclock $(tail -n1 "$work/peer.txt")"
    done
}

# Column $1 of the run lines in $2.
column_of() {
    awk -v c="$1" '{print $c}' "$2"
}

# The pair-by-pair ratios of column $1, clock over peer, one a line.
pair_ratios() {
    paste "$work/clock.txt" "$work/peer.txt" | awk -v c="$1" -v n="$(head -n1 "$work/clock.txt" | wc -w)" '{
        b = $(n + c); if (b == 0) print "inf"; else printf "%.4g\n", $c / b }'
}

# One row of a results table: label, the clock's median, the peer's median, the median ratio.
table_row() {
    local label="$1" c="$2"
    printf '| %s | %s | %s | %s |\n' "$label" "$(column_of "$c" "$work/clock.txt" | median)" \
        "$(column_of "$c" "$work/peer.txt" | median)" "$(pair_ratios "$c" | median)"
}

# Prints whether a figure is within its budget: name, value, the largest allowed.
budget() {
    awk -v n="$1" -v v="$2" -v max="$3" 'BEGIN {
        met = v ~ /^[0-9.]+$/ && v + 0 <= max + 0
        printf "budget %s: %s (at most %s) %s\n", n, v, max, (met ? "met" : "NOT MET") }'
}

# The CPU time in nanoseconds and the voluntary context switches of all the threads of process
# $1 so far, and how many threads it has.
task_totals() {
    local ns=0 switches=0 threads=0 t run rest
    for t in /proc/"$1"/task/*; do
        read -r run rest <"$t/schedstat"
        ns=$((ns + run))
        switches=$((switches + $(awk '/^voluntary_ctxt_switches/ {print $2}' "$t/status")))
        threads=$((threads + 1))
    done
    echo "$ns $switches $threads"
}

# Waits until just past the full hour when it would come within the next $1 seconds: the
# clock's hour signal would sound in the middle of the measurement.
clear_of_the_hour() {
    local into
    into=$((10#$(date +%M) * 60 + 10#$(date +%S)))
    if ((3600 - into < $1 + 5)); then
        sleep $((3600 - into + 5))
    fi
}

# Starts "$@" in the background with its output discarded; sets started_pid.
start_program() {
    "$@" >/dev/null 2>&1 &
    started_pid=$!
}

stop_program() {
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# Runs a Google Benchmark program ($1, further arguments passed on) with RUNS repetitions and
# prints, for each benchmark, the median of its real time and CPU time and their unit.
benchmark_medians() {
    local program="$1"
    shift
    "$build/bench/$program" --benchmark_repetitions="$RUNS" --benchmark_report_aggregates_only \
        --benchmark_format=csv "$@" 2>/dev/null |
        awk -F, '$1 ~ /_median"$/ { gsub(/"/, "", $1); sub(/_median$/, "", $1);
            sub(/\/iterations:[0-9]+/, "", $1); sub(/\/real_time/, "", $1);
            printf "%s %.3f %.3f %s\n", $1, $3, $4, $5 }'
}

# Prints the benchmark lines of benchmark_medians as rows of a results table.
benchmark_rows() {
    awk '{ printf "| %s | %s %s | %s %s |\n", $1, $2, $4, $3, $4 }'
}

# The median real time of benchmark $1 in the benchmark_medians lines on standard input.
median_of() {
    awk -v n="$1" '$1 == n { print $2 }'
}
