#!/usr/bin/env bash
# Tells whether this machine can execute 32-bit x86 (i386) code, which the 32-bit Wine and so the
# 32-bit WordHatch.exe need. It runs the smallest i386 Linux program there is: 96 bytes that call
# exit(42). Exit status 0 and "yes" when it ran; 1 and "no: <reason>" when it did not (a kernel
# without 32-bit support answers "Exec format error").
# Setup, the Makefile and the end-to-end tests all ask this one script, so they always agree.
# With --installed it also asks for the 32-bit Wine itself (wine32:i386), which setup installs
# where i386 code runs: the Makefile and the tests use the 32-bit build only where both hold.
set -u

# ELF header, one loadable segment at 0x08048000, then: mov eax,1; mov ebx,42; int 0x80.
readonly PROGRAM='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80'
readonly RAN_STATUS=42

if [ "${1:-}" = "--write" ] && [ $# -eq 2 ]; then
  # For the tests: the program itself, to a file of the caller's.
  printf "$PROGRAM" > "$2" && chmod +x "$2"
  exit
fi

folder=$(mktemp -d) || { echo "no: cannot make a temporary folder"; exit 1; }
trap 'rm -rf "$folder"' EXIT
printf "$PROGRAM" > "$folder/exit42" && chmod +x "$folder/exit42"
reason=$("$folder/exit42" 2>&1)
status=$?
if [ "$status" -eq "$RAN_STATUS" ]; then
  if [ "${1:-}" = "--installed" ] &&
     ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
    echo "no: the 32-bit Wine (wine32:i386) is not installed"
    exit 1
  fi
  echo "yes"
  exit 0
fi
reason=${reason##*: }
echo "no: ${reason:-exit status $status}"
exit 1
