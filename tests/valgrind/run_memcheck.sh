#!/usr/bin/env bash
# The real program under memcheck with the scripted session preloaded into it. Passes when the session ran to
# its end, the program exited with 0, and memcheck found no memory error and no definite or indirect leak
# beyond the suppressed ones of Qt and the system.
# Usage: run_memcheck.sh PROGRAM SESSION-LIBRARY SUPPRESSIONS
set -uo pipefail
program=$1
session=$2
suppressions=$3
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# env sets the preload for the program only, not for valgrind's own wrapper script.
valgrind --tool=memcheck --trace-children=yes --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect --error-exitcode=99 --num-callers=40 --gen-suppressions=all \
    --suppressions="$suppressions" env LD_PRELOAD="$session" "$program" >"$log" 2>&1
status=$?
cat "$log"

if ! grep -q 'scripted session: complete' "$log"; then
    echo "FAIL: the scripted session did not run to its end"
    exit 1
fi
if [ "$status" -ne 0 ]; then
    echo "FAIL: exit status $status (99: memcheck found errors or leaks, see above)"
    exit 1
fi
echo "PASS: session complete, no memory errors, no definite or indirect leaks"
