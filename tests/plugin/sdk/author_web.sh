#!/usr/bin/env bash
# An applet author's project built with the installed web SDK (emcmake, find_package(QV) through
# QV_DIR): every applet gets <name>.qva, <name>.js and <name>.wasm from the same qv_add_applet
# call, with qvapplet.js beside them; an unknown module stops the configuration; the applets then
# run in headless Chromium (author_web_test.mjs; exit code 77, skipped, without chromium).
# Usage: author_web.sh <source dir> <prefix> <work dir> <build type>
set -u
source_dir=$1 prefix=$2 work=$3 build_type=$4
author=$work/author
fail() { echo "FAIL: $*" >&2; exit 1; }
rm -rf "$author" "$author-unknown" "$work/site"
mkdir -p "$work"
# emscripten 3.1.6 runs its tools with node, which must find Debian's node modules (acorn).
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

for file in lib/cmake/QV/QVConfig.cmake lib/cmake/QV/QVModules.cmake share/qv/web/qvapplet.js \
            share/qv/web/WebAppletMain.cpp share/qv/web/WebPageLibrary.js; do
  [ -e "$prefix/$file" ] || fail "not installed: $file"
done

configure() {
  emcmake cmake -S "$source_dir/tests/plugin/sdk/author" -B "$1" -G Ninja \
    -DQV_DIR="$prefix/lib/cmake/QV" -DSAMPLES="$source_dir/examples/applets" \
    -DCMAKE_BUILD_TYPE="$build_type" "${@:2}" >"$1.log" 2>&1
}
configure "$author-unknown" -DAUTHOR_UNKNOWN_MODULE=ON && fail "an unknown module was accepted"
grep -q "unknown module qvnosuchmodule" "$author-unknown.log" ||
  fail "no 'unknown module': $(cat "$author-unknown.log")"
configure "$author" || fail "configuring against the web SDK failed: $(cat "$author.log")"
cmake --build "$author" >"$author/build.log" 2>&1 || fail "building failed: $(cat "$author/build.log")"

for folder in "$author/counter" "$author/cube" "$author"; do
  [ -s "$folder/qvapplet.js" ] || fail "no qvapplet.js beside the bundles in $folder"
done
for applet in counter/counter cube/cube quitter; do
  for extension in qva js wasm; do
    [ -s "$author/$applet.$extension" ] || fail "not made: $applet.$extension"
  done
done
[ "$(unzip -p "$author/counter/counter.qva" qveapp.cfg)" = "main_web=counterapplet.qvm" ] ||
  fail "counter's qveapp.cfg reads: $(unzip -p "$author/counter/counter.qva" qveapp.cfg)"
unzip -Z1 "$author/cube/cube.qva" | grep -qx qvoglrenderer.qvm || fail "cube.qva lacks the renderer"

mkdir -p "$work/site"
cp "$author"/counter/counter.{qva,js,wasm} "$author"/quitter.{qva,js,wasm} "$author/qvapplet.js" \
   "$work/site/"
exec node "$source_dir/tests/plugin/sdk/author_web_test.mjs" --web "$work/site"
