#!/usr/bin/env bash
# The cases are functions called by name.
# shellcheck disable=SC2317

# Where qvrender writes its image, and what a failed write leaves behind: a regular file (new, or
# the one a link names) is replaced only by a complete image, anything else (a device, a FIFO, a
# directory) is written in place or refused, and no path is ever removed and no temporary file
# left over. Links, devices and FIFOs are tried on Linux, the NUL device on Windows.
# Usage: output.sh "<runner>" <qvrender> <scratch dir>
set -u
runner=$1
program=$2
scratch=$3
image_bytes=$((18 + 4 * 4 * 3))  # --size 4x4: header and 24-bit pixels
linux=false
[ -z "$runner" ] && linux=true

status=0
failed=false
fail() {
  echo "FAIL: $case_name: $*" >&2
  failed=true
  status=1
}

# Runs qvrender into the output name given, from the case's directory; sets $code.
render() {
  # shellcheck disable=SC2086
  (cd "$dir" && $runner "$program" --size 4x4 --output "$1" >/dev/null 2>"$dir/.stderr")
  code=$?
}

no_leftovers() {
  local left
  left=$(find "$dir" -name '*.tmp*' | head -n 1)
  [ -z "$left" ] || fail "temporary file left: $left"
}

size_of() { stat -L -c %s "$1" 2>/dev/null || echo missing; }

case_new_file() {
  render new.tga
  [ "$code" = 0 ] || fail "exit code $code"
  [ "$(size_of "$dir/new.tga")" = "$image_bytes" ] || fail "image not written"
}

case_existing_file_replaced() {
  echo "old contents" >"$dir/old.tga"
  $linux && chmod 640 "$dir/old.tga"
  render old.tga
  [ "$code" = 0 ] || fail "exit code $code"
  [ "$(size_of "$dir/old.tga")" = "$image_bytes" ] || fail "old file not replaced"
  if $linux && [ "$(stat -c %a "$dir/old.tga")" != 640 ]; then
    fail "permissions not kept: $(stat -c %a "$dir/old.tga")"
  fi
}

case_missing_directory() {
  render missing/out.tga
  [ "$code" != 0 ] || fail "succeeded"
  [ ! -e "$dir/missing" ] || fail "created something"
}

case_directory_refused() {
  mkdir "$dir/out.tga"
  render out.tga
  [ "$code" != 0 ] || fail "succeeded"
  [ -d "$dir/out.tga" ] || fail "the directory is gone"
}

case_failed_write_keeps_old_file() {
  echo "old contents" >"$dir/old.tga"
  # A file size limit of 1 KiB makes writing a 64x64 image fail part-way (EFBIG, the signal
  # ignored).
  (cd "$dir" && trap '' XFSZ && ulimit -f 1 &&
    "$program" --size 64x64 --output old.tga >/dev/null 2>"$dir/.stderr")
  code=$?
  [ "$code" != 0 ] || fail "succeeded beyond the file size limit"
  [ "$(cat "$dir/old.tga" 2>/dev/null)" = "old contents" ] || fail "the old file was lost"
}

case_link_to_file_stays_a_link() {
  echo "old" >"$dir/real.tga"
  ln -s real.tga "$dir/link.tga"
  render link.tga
  [ "$code" = 0 ] || fail "exit code $code"
  [ -L "$dir/link.tga" ] || fail "the link was replaced"
  [ "$(size_of "$dir/real.tga")" = "$image_bytes" ] || fail "the linked file was not written"
}

case_link_to_full_device_kept() {
  ln -s /dev/full "$dir/full.tga"
  render full.tga
  [ "$code" != 0 ] || fail "a write to /dev/full succeeded"
  [ "$(readlink "$dir/full.tga")" = /dev/full ] || fail "the link is gone"
}

case_device_node_kept() {
  # A node of its own (the full device) rather than /dev/full itself.
  if ! mknod "$dir/node.tga" c 1 7 2>/dev/null; then
    echo "skip: $case_name (cannot make device nodes here)"
    return
  fi
  render node.tga
  [ "$code" != 0 ] || fail "a write to the full device succeeded"
  [ -c "$dir/node.tga" ] || fail "the device node is gone"
}

case_fifo_written_in_place() {
  mkfifo "$dir/pipe.tga"
  timeout 60 cat "$dir/pipe.tga" >"$dir/received" &
  local reader=$!
  render pipe.tga
  wait "$reader"
  [ "$code" = 0 ] || fail "exit code $code"
  [ -p "$dir/pipe.tga" ] || fail "the FIFO is gone"
  [ "$(size_of "$dir/received")" = "$image_bytes" ] || fail "the reader did not get the image"
}

case_nul_device_written_in_place() {
  render NUL
  [ "$code" = 0 ] || fail "exit code $code"
  [ -z "$(find "$dir" -mindepth 1 ! -name .stderr)" ] || fail "files made: $(ls -A "$dir")"
}

cases=(new_file existing_file_replaced missing_directory directory_refused)
linux_cases=(failed_write_keeps_old_file link_to_file_stays_a_link link_to_full_device_kept device_node_kept
             fifo_written_in_place)
windows_cases=(nul_device_written_in_place)
if $linux; then cases+=("${linux_cases[@]}"); else cases+=("${windows_cases[@]}"); fi

rm -rf "$scratch"
for case_name in "${cases[@]}"; do
  dir=$scratch/$case_name
  mkdir -p "$dir"
  failed=false
  "case_$case_name"
  no_leftovers
  $failed || echo "ok: $case_name"
done
exit $status
