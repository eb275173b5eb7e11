#!/usr/bin/env bash
# qvglview --screenshot saves one frame of the demo scene and ends with 0; the frame matches the
# reference picture. With the TGA loader module beside it, --texture changes the picture.
source "$(dirname "$0")/../../../ui/gui/common.sh"
source "$(dirname "$0")/glview.sh"

rm -f "$artefacts/qvglview.tga"
run_glview --screenshot "$artefacts/qvglview.tga"
[ "$exit_code" = 0 ] || fail "exit code $exit_code, expected 0: $(cat "$artefacts/err.txt")"
[ -s "$artefacts/qvglview.tga" ] || fail "no screenshot written"
shot=$(png "$artefacts/qvglview.tga") || fail "the screenshot is no TGA image"
d=$(distance "$references/qvglview-400x300.png" "$shot")
echo "screenshot: $(identify -format '%wx%h' "$shot"), distance $d from the reference"
below "$d" 0.05 || fail "the screenshot is $d away from the reference (limit 0.05)"

if [ ! -e "$bin/qvtgaloader.qvm" ]; then
  echo "no qvtgaloader.qvm: the texture is not tried"
  echo "PASS"
  exit 0
fi
# A texture made by the ray tracer: the scene itself, small.
texture=$artefacts/texture.tga
(cd "$bin" && $runner "$bin/qvrender$(basename "$program" | sed -n 's/.*\(\.exe\)$/\1/p')" \
  --size 64x48 --output "$texture") >/dev/null || fail "qvrender could not make a texture"
run_glview --texture "$texture" --screenshot "$artefacts/qvglview-textured.tga"
[ "$exit_code" = 0 ] || fail "textured: exit code $exit_code: $(cat "$artefacts/err.txt")"
textured=$(png "$artefacts/qvglview-textured.tga") || fail "the textured screenshot is no TGA image"
d=$(distance "$shot" "$textured")
echo "textured: distance $d from the plain picture"
below 0.02 "$d" || fail "the texture did not change the picture (distance $d)"

# The same texture as PNG and JPEG, read by the image loader module, gives the same picture.
if [ ! -e "$bin/qvimgloader.qvm" ]; then
  echo "no qvimgloader.qvm: PNG and JPEG textures are not tried"
  echo "PASS"
  exit 0
fi
for kind in png jpg; do
  convert "$texture" -quality 95 "$artefacts/texture.$kind" || fail "convert could not make a $kind"
  run_glview --texture "$artefacts/texture.$kind" --screenshot "$artefacts/qvglview-$kind.tga"
  [ "$exit_code" = 0 ] || fail "$kind texture: exit code $exit_code: $(cat "$artefacts/err.txt")"
  same=$(png "$artefacts/qvglview-$kind.tga") || fail "the $kind screenshot is no TGA image"
  d=$(distance "$textured" "$same")
  echo "$kind texture: distance $d from the TGA-textured picture"
  below "$d" 0.01 || fail "the $kind texture shows differently (distance $d)"
done
echo "PASS"
