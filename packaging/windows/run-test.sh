#!/bin/sh
# Runs a Windows test executable under Wine and prints its log. Qt Test sends its log to the
# debugger when it takes stdout for a console, as it does under Wine, so it goes through a file.
exe=$1
shift
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
/usr/lib/wine/wine64 "$exe" "$@" -o "Z:$log,txt" || status=$?
cat "$log"
exit "$status"
