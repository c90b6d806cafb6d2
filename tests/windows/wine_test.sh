#!/usr/bin/env bash
# CTest's runner for the Windows build: the program under Wine. Qt Test's own
# output does not reach a Unix pipe under Wine, so a suite writes it to a file,
# shown afterwards. Wine's own output goes to a file too: a Wine service that
# a program starts on first use outlives it and would hold CTest's pipe open.
set -uo pipefail
program=$1
shift
log=$(mktemp)
wine_log=$(mktemp)
case $(basename "$program") in
  tst_*) wine "$program" -o "$log,txt" "$@" >"$wine_log" 2>&1 ;;
  *) wine "$program" "$@" >"$wine_log" 2>&1 ;;
esac
status=$?
cat "$wine_log" "$log"
rm -f "$log" "$wine_log"
exit "$status"
