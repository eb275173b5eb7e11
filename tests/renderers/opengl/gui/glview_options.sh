#!/usr/bin/env bash
# qvglview's command line: --help answers with the usage and 0; words it does not understand and
# options without their file end with 2 and say why; a texture or a model that cannot be read
# ends with 1 and says why; nothing is written then.
source "$(dirname "$0")/../../../ui/gui/common.sh"
source "$(dirname "$0")/glview.sh"

# expect <code> <text in the output> <args...>
expect() {
  local code=$1 text=$2
  shift 2
  run_glview "$@"
  [ "$exit_code" = "$code" ] || fail "qvglview $*: exit code $exit_code, expected $code"
  grep -qF -- "$text" "$artefacts/out.txt" "$artefacts/err.txt" ||
    fail "qvglview $*: no '$text' in the output: $(cat "$artefacts/out.txt" "$artefacts/err.txt")"
  echo "qvglview $*: $code, $(head -n 1 "$artefacts/err.txt" "$artefacts/out.txt" | grep -v '^==>' | grep . | head -n 1)"
}

rm -f "$artefacts/never.tga"
expect 0 "usage: qvglview" --help
expect 2 "unknown option '--fast'" --fast
expect 2 "--texture needs a file name" --texture
expect 2 "--model needs a file name" --model
expect 2 "--screenshot needs a file name" --screenshot
expect 2 "give a file name ending in .tga" --screenshot "$artefacts/never.png"
# Textures: absent, and a file that no image loader reads.
head -c 64 /dev/zero >"$artefacts/zeros.png"
while read -r file text; do
  expect 1 "cannot read the texture '$artefacts/$file': $text" --texture "$artefacts/$file" \
    --screenshot "$artefacts/never.tga" </dev/null
done <<CASES
missing.tga the file cannot be opened
zeros.png no image loader reads it
CASES
# Models: absent, not a 3D Studio file, and a well-formed file (a bare main chunk) without a mesh.
echo "not a model" >"$artefacts/text.3ds"
printf 'MM\006\000\000\000' >"$artefacts/empty.3ds"
while read -r file text; do
  expect 1 "cannot show the model '$artefacts/$file': $text" --model "$artefacts/$file" \
    --screenshot "$artefacts/never.tga" </dev/null
done <<CASES
missing.3ds the file cannot be opened
text.3ds no object loader reads it
empty.3ds the file holds no triangle mesh
CASES
[ ! -e "$artefacts/never.tga" ] || fail "a screenshot was written although a texture or model failed"
echo "PASS"
