#!/usr/bin/env bash
# The SDK as an author gets it: the build installed into a prefix of its own (made afresh), which
# the author tests then share.
# Usage: install.sh <build dir> <prefix>
set -u
build_dir=$1 prefix=$2
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
cmake --install "$build_dir" --prefix "$prefix" >"$prefix.log" 2>&1 ||
  { cat "$prefix.log"; echo "FAIL: cmake --install failed" >&2; exit 1; }
echo "PASS"
