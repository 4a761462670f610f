#!/usr/bin/env bash
# Static checks of a shipped Windows executable, read with objdump (nothing is run):
# it is a PE32 for i386 program of the given subsystem that Windows XP accepts, it imports only system DLLs on the
# msvcrt runtime, and none of the functions it imports appeared after Windows XP.  With MAX_BYTES, the file
# without its resource section (the artwork a disc author replaces) must not be larger: a disc reads all of it
# before the launcher can show anything.
# Usage: check_pe.sh OBJDUMP EXE gui|console [MAX_BYTES]
set -euo pipefail
objdump=$1 exe=$2 subsystem=$3 max_bytes=${4:-}
dump=$("$objdump" -p "$exe")
failures=0
fail() { echo "FAIL: $exe: $*"; failures=$((failures + 1)); }

grep -q 'file format pei-i386' <<<"$dump" || fail "not a PE32 executable for i386"
case "$subsystem" in gui) code=2 ;; console) code=3 ;; *) echo "check_pe.sh: unknown subsystem $subsystem" >&2; exit 2 ;; esac
grep -qE "^Subsystem[[:space:]]+0+$code[[:space:]]" <<<"$dump" || fail "not a Windows $subsystem subsystem program"
major=$(awk '/^MajorSubsystemVersion/ {print $2}' <<<"$dump")
minor=$(awk '/^MinorSubsystemVersion/ {print $2}' <<<"$dump")
if [ "$major" -gt 5 ] || { [ "$major" -eq 5 ] && [ "$minor" -gt 1 ]; }; then
  fail "subsystem version $major.$minor is newer than Windows XP's 5.01"
fi

dlls=$(awk '/DLL Name:/ {print tolower($3)}' <<<"$dump" | sort -u)
allowed='^(kernel32|user32|gdi32|msvcrt|advapi32|shell32|comctl32|comdlg32|ole32)\.dll$'
for dll in $dlls; do
  grep -qE "$allowed" <<<"$dll" || fail "imports $dll, which is not a Windows system DLL present on XP"
done

# Functions that MinGW runtimes and libraries are known to pull in and that XP's system DLLs lack.
# SetDllDirectory is missing before XP SP1; the launcher looks it up at run time.
post_xp='GetTickCount64|SetDefaultDllDirectories|(Add|Remove)DllDirectory|SetDllDirectory|(Initialize|Sleep|Wake|WakeAll)ConditionVariable|SRWLock|InitOnce|Fls(Alloc|Free|GetValue|SetValue)|GetSystemTimePreciseAsFileTime|Create(Event|Mutex|Semaphore)Ex|SetThreadErrorMode|GetErrorMode|CompareStringEx|LCMapStringEx|(Get|Set)(Locale|UserDefaultLocale)Name|GetLocaleInfoEx|GetFinalPathNameByHandle|CreateSymbolicLink|GetFileInformationByHandleEx|SetFileInformationByHandle|QueryFullProcessImageName|CancelIoEx|GetProcessId[^a-z]|GetThreadId[^a-z]|_s$|_s[[:space:]]'
imports=$(awk '/DLL Name:/ {inside=1; next} inside && NF==0 {inside=0} inside && /^\t[0-9a-f]+/ {print $NF}' <<<"$dump")
bad=$(grep -E "$post_xp" <<<"$imports" || true)
[ -z "$bad" ] || fail "imports functions missing on Windows XP: $(tr '\n' ' ' <<<"$bad")"

if [ -n "$max_bytes" ]; then
  resources=$("$objdump" -h "$exe" | awk '$2 == ".rsrc" {print $3}')
  without=$(($(stat -c %s "$exe") - 16#${resources:-0}))
  [ "$without" -le "$max_bytes" ] || fail "$without bytes without its resources, more than the budget of $max_bytes"
fi

if [ "$failures" -eq 0 ]; then
  echo "$exe: PE32 i386 $subsystem, subsystem $major.$minor, imports: $(tr '\n' ' ' <<<"$dlls")"
  echo "1 passed, 0 failed"
  exit 0
fi
exit 1
