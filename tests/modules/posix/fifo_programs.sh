#!/usr/bin/env bash
# Programs meet FIFOs named like modules and pass them by instead of waiting for a writer: one
# beside the program (the first place the system's search for a bare name looks, where every
# library loads the memory module from) and one in the working directory that a scan lists.
# Usage: fifo_programs.sh <qvrender> <qvmods> <scratch dir>
set -u
qvrender=$1
qvmods=$2
scratch=$3
rm -rf "$scratch"
mkdir -p "$scratch/bin" "$scratch/work"
cp "$qvrender" "$qvmods" "$scratch/bin/"
mkfifo "$scratch/bin/qvmemmgr.qvm" "$scratch/work/x.qvm"

status=0
for program in qvrender qvmods; do
  (cd "$scratch/work" && timeout 60 "$scratch/bin/$program" --help >/dev/null 2>&1)
  code=$?
  if [ "$code" -eq 124 ]; then
    echo "FAIL: $program waited on a FIFO" >&2
    status=1
  fi
done
rm -rf "$scratch"
[ "$status" -eq 0 ] && echo "both programs passed the FIFOs by"
exit "$status"
