#!/usr/bin/env bash
# Runs the store tool with system calls that fail for real (strace fault injection): each failed
# write must be reported and leave the old file byte for byte, with no temporary behind.
# Exits 77 (skipped) where strace is missing or tracing is not allowed.
set -u
tool=$1
command -v strace >/dev/null || { echo "strace is not installed"; exit 77; }
strace -f -o /dev/null true 2>/dev/null || { echo "this machine does not allow tracing"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file=$work/Quillmere/Kestrova.reg
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$tool" "$file" Euro 1 || fail "a plain write failed"
cp "$file" "$work/before"
faults=(fsync:error=EIO rename,renameat,renameat2:error=EIO)
# A sanitizer runtime writes on its own before main, and a failed write there ends the run early.
if ldd "$tool" 2>/dev/null | grep -Eq 'lib(a|ub|t|l)san'; then
  echo "sanitizer build: the failing write is left out"
else
  faults+=(write:error=ENOSPC)
fi
for fault in "${faults[@]}"; do
  strace -f -o /dev/null -e inject="$fault" "$tool" "$file" Euro 2 2>/dev/null &&
    fail "$fault: the tool reported success"
  cmp -s "$file" "$work/before" || fail "$fault: the old file changed"
  left=$(find "$work/Quillmere" -mindepth 1 ! -name Kestrova.reg)
  [ -z "$left" ] || fail "$fault: left behind: $left"
done

# The faults were the only reason: without them the same write goes through.
"$tool" "$file" Euro 2 || fail "the write after the faults failed"
grep -qx '"Euro"="2"' "$file" || fail "the write after the faults is not in the file"

[ "$failures" -eq 0 ] || { echo "$failures failed"; exit 1; }
echo "all injected faults left the old file intact"
