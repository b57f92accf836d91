#!/usr/bin/env bash
# The modules export exactly their entry points, undecorated, and import only
# Windows system DLLs (and the engine's tier0 for the player).
set -u
dir=$1
fail=0
check() {
  local dll=$1 exports=$2 imports=$3 dump got_exports got_imports
  dump=$(i686-w64-mingw32-objdump -p "$dir/$dll")
  got_exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | grep -E '^\s+\[ *[0-9]+\] [A-Za-z_]' | awk '{print $NF}' | sort | tr '\n' ' ')
  got_imports=$(grep -oE 'DLL Name: .*' <<<"$dump" | cut -c11- | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
  if [ "$got_exports" != "$exports" ]; then echo "$dll exports: $got_exports (expected $exports)"; fail=1; fi
  if [ "$got_imports" != "$imports" ]; then echo "$dll imports: $got_imports (expected $imports)"; fail=1; fi
}
check gmcl_velmora.dll "CreateInterface gmod_close gmod_open " "kernel32.dll msvcrt.dll ole32.dll tier0.dll "
check gmcl_tarnic.dll "gmod_close gmod_open " "kernel32.dll msvcrt.dll shlwapi.dll "
exit $fail
