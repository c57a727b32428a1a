#!/usr/bin/env bash
# Runs the real program with the scripted session preloaded into it, under a checker when one is given.
# PRELOAD_FIRST names a library that must be loaded before it (a sanitizer's runtime); it is not preloaded
# into this script or the checker. Passes when the session ran to its end and the program, or the checker,
# exited with 0: a memory error, a leak or a failed step makes that status non-zero.
# Usage: run_session.sh PROGRAM SESSION-LIBRARY [CHECKER ARGUMENT...]
set -uo pipefail
program=$1
session=$2
shift 2
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# env sets the preload for the program only, not for the checker's own launcher.
"$@" env LD_PRELOAD="${PRELOAD_FIRST:+$PRELOAD_FIRST:}$session" "$program" >"$log" 2>&1
status=$?
cat "$log"

if ! grep -q 'scripted session: complete' "$log"; then
    echo "FAIL: the scripted session did not run to its end"
    exit 1
fi
if [ "$status" -ne 0 ]; then
    echo "FAIL: exit status $status (memory errors or leaks are reported above)"
    exit 1
fi
echo "PASS: session complete, exit status 0"
