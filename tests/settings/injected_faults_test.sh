#!/usr/bin/env bash
# Runs the store tool with system calls that fail for real (strace fault injection): each
# failed write must leave the old file byte for byte and no temporary behind.
# Exits 77 (skipped) where strace is missing or tracing is not allowed.
set -u
tool=$1

if ! command -v strace >/dev/null; then
  echo "strace is not installed"
  exit 77
fi
if ! strace -f -o /dev/null true 2>/dev/null; then
  echo "this machine does not allow tracing"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
folder=$work/Quillmere
file=$folder/Kestrova.reg
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

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
  if strace -f -o /dev/null -e inject="$fault" "$tool" "$file" Euro 2 2>/dev/null; then
    fail "$fault: the tool reported success"
  fi
  cmp -s "$file" "$work/before" || fail "$fault: the old file changed"
  left=$(find "$folder" -mindepth 1 ! -name Kestrova.reg)
  [ -z "$left" ] || fail "$fault: left behind: $left"
done

# With no file yet, a failed first write leaves no file at all.
fresh=$work/fresh/Quillmere/Kestrova.reg
if strace -f -o /dev/null -e inject=fsync:error=EIO "$tool" "$fresh" Euro 1 2>/dev/null; then
  fail "first write: the tool reported success"
fi
[ -z "$(find "$work/fresh" -type f)" ] || fail "first write: a file was left"

# The faults were the only reason: without them the same write goes through.
"$tool" "$file" Euro 2 || fail "the write after the faults failed"
grep -qx '"Euro"="2"' "$file" || fail "the write after the faults is not in the file"

if [ "$failures" -ne 0 ]; then
  echo "$failures failed"
  exit 1
fi
echo "all injected faults left the old file intact"
