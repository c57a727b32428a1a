# A private X display with a window manager, and the ending of every process started on it; sourced by
# scripts/run.sh and bench/run.sh after `set -euo pipefail`. Sets `workdir` (a temporary folder, removed at
# the end) and `pids` (append each process started; they are ended last-started first).
# shellcheck shell=bash

workdir=$(mktemp -d -t tintora-session.XXXXXX)
pids=()

# shellcheck disable=SC2317 # run by the trap
finish() {
    trap - EXIT INT TERM
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$workdir"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Calls "$@" every 0.1 s until it succeeds, for at most 10 s.
wait_for() { # what command...
    local what=$1
    shift
    for _ in $(seq 100); do
        "$@" && return 0
        sleep 0.1
    done
    echo "$what did not happen within 10 s. The logs:" >&2
    tail -n 20 "$workdir"/*.log >&2 || true
    exit 1
}

# Xvfb on a free display number (it writes the number to file descriptor 3), then openbox; exports DISPLAY.
start_display() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$workdir/display" >"$workdir/xvfb.log" 2>&1 &
    pids+=($!)
    wait_for "Xvfb naming its display" grep -qx '[0-9][0-9]*' "$workdir/display"
    DISPLAY=:$(tr -d '\n' <"$workdir/display")
    export DISPLAY
    XDG_CONFIG_HOME=$workdir/config openbox --sm-disable >"$workdir/openbox.log" 2>&1 &
    pids+=($!)
    wait_for "openbox starting" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"'
}
