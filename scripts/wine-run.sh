#!/bin/sh
# Runs a Windows program under Wine for ctest. Its output goes through a file, because
# Wine's helper processes (the desktop, services) inherit the output and would keep a
# pipe open long after the program itself has ended.
log=$(mktemp)
wine "$@" >"$log" 2>&1
status=$?
cat "$log"
rm -f "$log"
exit $status
