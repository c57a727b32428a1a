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

# shellcheck source=scripts/x-session.sh
source "$(dirname "$0")/x-session.sh"
start_display
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$workdir}

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
