#!/usr/bin/env bash
# qvglview --model shows every real glTF and OBJ file of the sample folder (the fourth argument or
# QV_SAMPLE_DATA_DIR): exit code 0 and a screenshot in which the model covers a good part of the
# view, not the background alone. Then a texture in TGA named by an OBJ material (map_Kd) changes
# the picture of a quad, read by the TGA loader module. Skipped (77) without sample models.
source "$(dirname "$0")/../../../ui/gui/common.sh"
source "$(dirname "$0")/glview.sh"
samples=${QV_SAMPLE_DATA_DIR:-${4:-}}

models=$(ls "$samples"/gltf/*.gltf "$samples"/gltf/*.glb "$samples"/obj/*.obj 2>/dev/null)
if [ -z "$models" ]; then
  echo "SKIP: no sample glTF or OBJ files in '$samples'"
  exit 77
fi

# shoot <name> <args...>: a screenshot of qvglview with those arguments, as PNG; prints its name.
shoot() {
  local name=$1
  shift
  rm -f "$artefacts/$name.tga"
  run_glview "$@" --screenshot "$artefacts/$name.tga"
  [ "$exit_code" = 0 ] || fail "$name: exit code $exit_code, expected 0: $(cat "$artefacts/err.txt")"
  png "$artefacts/$name.tga" || fail "$name: no screenshot"
}

# covered <png>: the share of pixels that are not the background (0x303848), in percent.
covered() {
  convert "$1" -fill black -opaque '#303848' -fill white +opaque black -format '%[fx:int(100*mean)]' info:
}

for model in $models; do
  name=model-$(basename "$model")
  shot=$(shoot "$name" --model "$model") || exit 1
  share=$(covered "$shot")
  echo "$(basename "$model"): the model covers $share% of the view"
  [ "$share" -ge 2 ] || fail "$(basename "$model"): the model covers only $share% of the view"
done

if [ ! -e "$bin/qvtgaloader.qvm" ]; then
  echo "no qvtgaloader.qvm: the texture is not tried"
  echo "PASS"
  exit 0
fi
# A quad whose material names a TGA texture (the ray tracer's picture of the demo scene) beside it.
(cd "$bin" && $runner "$bin/qvrender$(basename "$program" | sed -n 's/.*\(\.exe\)$/\1/p')" \
  --size 64x48 --output "$artefacts/quad.tga") >/dev/null || fail "qvrender could not make a texture"
printf 'newmtl plain\nKd 1 1 1\nnewmtl pictured\nKd 1 1 1\nmap_Kd quad.tga\n' >"$artefacts/quad.mtl"
quad='mtllib quad.mtl\nv -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n'
printf "${quad}usemtl plain\nf 1/1 2/2 3/3 4/4\n" >"$artefacts/quad-plain.obj"
printf "${quad}usemtl pictured\nf 1/1 2/2 3/3 4/4\n" >"$artefacts/quad-textured.obj"
plain=$(shoot model-quad-plain --model "$artefacts/quad-plain.obj") || exit 1
textured=$(shoot model-quad-textured --model "$artefacts/quad-textured.obj") || exit 1
d=$(distance "$plain" "$textured")
echo "quad: textured $d from the plain picture"
below 0.02 "$d" || fail "the material's texture did not change the quad's picture (distance $d)"
echo "PASS"
