#!/usr/bin/env bash
# CTest's runner for the Windows build: the program under Wine. Qt Test's own
# output does not reach a Unix pipe under Wine, so a suite writes it to a file,
# shown afterwards.
set -uo pipefail
program=$1
shift
case $(basename "$program") in
  tst_*)
    log=$(mktemp)
    wine "$program" -o "$log,txt" "$@"
    status=$?
    cat "$log"
    rm -f "$log"
    exit "$status"
    ;;
  *) exec wine "$program" "$@" ;;
esac
