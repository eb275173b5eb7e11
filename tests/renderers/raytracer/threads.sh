#!/usr/bin/env bash
# qvrender traces row bands on several threads: the image must not depend on the number of
# threads (also when the height is no multiple of it), must equal the stored references, and the
# progress of a large render must still come in whole tenths, each once and in order.
# Usage: threads.sh "<runner>" <qvrender> <reference dir> <artefact dir>
set -u
runner=$1
program=$2
references=$3
artefacts=$4/threads
mkdir -p "$artefacts"
status=0
fail() {
  echo "FAIL: $*" >&2
  status=1
}
# render <file> <arguments...>: runs qvrender in the artefact directory, output kept in <file>.out.
render() {
  local name=$1
  shift
  rm -f "$artefacts/$name"
  # shellcheck disable=SC2086
  (cd "$artefacts" && $runner "$program" --output "$name" "$@" >"$name.out" 2>&1)
}

# The same image on 1, 2 and 3 threads, and on more threads than bands of rows.
for threads in 1 2 3 64; do
  render "t$threads-101x77.tga" --size 101x77 --threads "$threads" || fail "--threads $threads failed"
done
for threads in 2 3 64; do
  cmp -s "$artefacts/t1-101x77.tga" "$artefacts/t$threads-101x77.tga" ||
    fail "101x77 on $threads threads differs from 1 thread"
done

# The references, traced on three threads.
for size in 200x150 101x75; do
  render "t3-$size.tga" --size "$size" --threads 3 || fail "--size $size --threads 3 failed"
  cmp -s "$artefacts/t3-$size.tga" "$references/demo-$size.tga" ||
    fail "$size on 3 threads differs from the reference"
done

# A million pixels on three threads: exactly the ten tenths, in order.
render progress.tga --size 1000x1000 --threads 3 || fail "1000x1000 on 3 threads failed"
expected=$(printf 'qvrender: %d%%\n' 10 20 30 40 50 60 70 80 90 100)
got=$(tr -d '\r' <"$artefacts/progress.tga.out" | grep '%$')
[ "$got" = "$expected" ] || fail "progress on 3 threads was: $(tr '\n' ' ' <<<"$got")"
grep -q 'on 3 threads' "$artefacts/progress.tga.out" || fail "the summary does not name 3 threads"

# Bad thread counts are refused with exit code 2 and write nothing.
for bad in 0 257 -1 abc 2x; do
  render bad.tga --threads "$bad"
  code=$?
  [ "$code" = 2 ] || fail "--threads $bad gave exit code $code, expected 2"
  [ ! -e "$artefacts/bad.tga" ] || fail "--threads $bad wrote a file"
done
[ "$status" = 0 ] && echo "PASS"
exit $status
