#!/usr/bin/env bash
# expect-status.sh STATUS TEXT COMMAND...: COMMAND exits with STATUS and says TEXT.
expected=$1 text=$2
shift 2
output=$("$@" 2>&1)
status=$?
if [ "$status" -ne "$expected" ] || ! grep -qF -- "$text" <<<"$output"; then
  printf 'expected status %s and "%s"; got status %s:\n%s\n' "$expected" "$text" "$status" "$output"
  exit 1
fi
