#!/usr/bin/env bash
# Checks the 32-bit tolvenek.exe we ship without running it: a 32-bit GUI
# program that needs no DLL beyond Windows' own, whose resources (dialog 101,
# version block, manifest) are exactly the reviewed ones. This holds also on
# machines where 32-bit Wine cannot start, so the shipped file is always checked.
# Usage: check_shipped_exe.sh BUILD_DIR   (after TOLVENEK_UPDATE_GOLDEN=1: rewrites the golden)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
exe="$1/app/win32/tolvenek.exe"
golden="$here/tolvenek_resources.golden.rc"
failed=0
check() { if eval "$2"; then echo "PASS $1"; else echo "FAIL $1"; failed=1; fi; }

headers="$(i686-w64-mingw32-objdump -p "$exe")"
check "PE32 for i386" 'grep -q "file format pei-i386" <<<"$headers" && grep -q "(PE32)" <<<"$headers"'
check "Windows GUI subsystem" 'grep -q "Subsystem.*(Windows GUI)" <<<"$headers"'
system_dlls='^(ADVAPI32|KERNEL32|msvcrt|ole32|SHELL32|USER32|COMCTL32|GDI32)\.dll$'
others="$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | grep -viE "$system_dlls" || true)"
check "imports only system DLLs${others:+ (also: $others)}" '[ -z "$others" ]'

resources="$(i686-w64-mingw32-windres -i "$exe" -O rc)"
if [ "${TOLVENEK_UPDATE_GOLDEN:-}" = 1 ]; then printf '%s\n' "$resources" >"$golden"; fi
check "resources equal the reviewed dialog, version block and manifest" \
  'diff -u "$golden" - <<<"$resources"'
exit $failed
