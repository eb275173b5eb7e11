#!/usr/bin/env bash
# qvrender's images of the demonstration scene must equal the stored references byte for byte,
# on every target: the trace uses no trigonometry and SSE2 doubles everywhere, so any difference
# is a fault. Usage: golden.sh "<runner>" <qvrender> <reference dir> <artefact dir>
set -u
runner=$1
program=$2
references=$3
artefacts=$4
mkdir -p "$artefacts"
status=0
for size in 200x150 101x75; do
  name=demo-$size.tga
  rm -f "$artefacts/$name"
  # Relative output name: the Windows build writes through Wine into the same directory.
  # shellcheck disable=SC2086
  if ! (cd "$artefacts" && $runner "$program" --size "$size" --output "$name" >/dev/null); then
    echo "FAIL: qvrender --size $size failed" >&2
    status=1
    continue
  fi
  if ! cmp -s "$artefacts/$name" "$references/$name"; then
    differing=$(cmp -l "$artefacts/$name" "$references/$name" 2>/dev/null | wc -l)
    echo "FAIL: $name differs from the reference in $differing bytes (kept in $artefacts)" >&2
    status=1
  else
    echo "ok: $name"
  fi
done
# --help explains both options and succeeds.
# shellcheck disable=SC2086
help=$(cd "$artefacts" && $runner "$program" --help 2>/dev/null)
code=$?
help=${help//$'\r'/}
if [ "$code" != 0 ] || ! grep -q -- '--size WxH' <<<"$help" || ! grep -q -- '--output FILE' <<<"$help"; then
  echo "FAIL: --help (exit code $code) does not explain --size and --output" >&2
  status=1
fi
# A bad command line is refused with exit code 2 and writes nothing.
# shellcheck disable=SC2086
(cd "$artefacts" && $runner "$program" --size 0x10 --output bad.tga >/dev/null 2>&1)
code=$?
[ "$code" = 2 ] || { echo "FAIL: --size 0x10 gave exit code $code, expected 2" >&2; status=1; }
[ ! -e "$artefacts/bad.tga" ] || { echo "FAIL: a refused command line wrote a file" >&2; status=1; }
exit $status
