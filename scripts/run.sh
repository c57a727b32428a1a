#!/usr/bin/env bash
# Starts Tintora:  scripts/run.sh <tintora binary>
# On a desktop it just runs the program. On a machine without a display (over SSH, in a container) it gives
# Tintora a display of its own: Xvfb with openbox as window manager, served by VNC on this machine's loopback
# address only. It writes a screenshot, says how to connect, and ends everything it started when Tintora ends
# or on Ctrl+C.
set -euo pipefail

binary=${1:?usage: scripts/run.sh <tintora binary>}
binary=$(realpath "$binary")

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$binary"
fi

for tool in Xvfb openbox x11vnc xdotool /usr/bin/import; do
    command -v "$tool" >/dev/null || { echo "missing: $tool (scripts/install-deps.sh installs it)" >&2; exit 1; }
done

workdir=$(mktemp -d -t tintora-run.XXXXXX)
pids=()
# shellcheck disable=SC2317 # run by the trap
finish() {
    trap - EXIT INT TERM
    # Last started, first ended: Tintora, the VNC server, the window manager, the X server.
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

# Xvfb picks a free display number and writes it to file descriptor 3.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$workdir/display" >"$workdir/xvfb.log" 2>&1 &
pids+=($!)
wait_for "Xvfb naming its display" grep -qx '[0-9][0-9]*' "$workdir/display"
DISPLAY=:$(tr -d '\n' <"$workdir/display")
export DISPLAY
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$workdir}

XDG_CONFIG_HOME=$workdir/config openbox --sm-disable >"$workdir/openbox.log" 2>&1 &
pids+=($!)
wait_for "openbox starting" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"'

# -localhost listens on 127.0.0.1 only, -noipv6 keeps it off ::1 and every other address too.
x11vnc -display "$DISPLAY" -localhost -noipv6 -autoport 5900 -forever -shared -nopw -quiet \
    >"$workdir/x11vnc.out" 2>"$workdir/x11vnc.log" &
pids+=($!)
wait_for "x11vnc listening" grep -q '^PORT=' "$workdir/x11vnc.out"
port=$(sed -n 's/^PORT=//p' "$workdir/x11vnc.out")

"$binary" &
tintora=$!
pids+=("$tintora")
wait_for "Tintora's window appearing" sh -c "xdotool search --onlyvisible --pid $tintora >/dev/null 2>&1"
screenshot=$(dirname "$binary")/tintora-run.png
sleep 0.5 # the first paint
/usr/bin/import -silent -window root "$screenshot"

cat <<EOF
Tintora runs on the virtual display $DISPLAY, served by VNC on 127.0.0.1:$port (this machine only).
A screenshot of it: $screenshot
To see and use it from your own computer, forward the port over SSH and open a VNC viewer on it:
    ssh -L $port:127.0.0.1:$port ${USER:-$(id -un)}@$(hostname -f 2>/dev/null || hostname)
    vncviewer localhost:$port        (or any VNC viewer, address localhost, port $port)
Tintora ends with its "Beenden" button or Ctrl+C here; the display and the VNC server end with it.
EOF

status=0
wait "$tintora" || status=$?
exit "$status"
