#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz", clang) and runs every one of them for a bounded
# time on a scratch copy of its seed corpus (fuzz/corpus/<target>/), so the committed corpus is
# never changed. Exits non-zero when the build fails or any target finds a crash, a leak or a
# broken invariant; the input that did it is kept under build/fuzz-artifacts/.
#
# Sample files made by other programs (shared/data beside the checkout, or QV_SAMPLE_DATA_DIR)
# join the scratch corpus of the targets that read their kind when the folder is there; they are
# never copied into the tree.
#
# Environment: QV_FUZZ_SECONDS (default 30, per target), QV_FUZZ_BUILD_DIR (default build/fuzz),
# QV_JOBS (build jobs, default the number of processors), QV_SAMPLE_DATA_DIR.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

seconds=${QV_FUZZ_SECONDS:-30}
build=${QV_FUZZ_BUILD_DIR:-$root/build/fuzz}
jobs=${QV_JOBS:-$(nproc)}
artifacts=$root/build/fuzz-artifacts
mkdir -p "$artifacts"

samples=${QV_SAMPLE_DATA_DIR:-}
if [ -z "$samples" ]; then
  for candidate in "$root/../shared/data" "$root/../../shared/data"; do
    [ -d "$candidate" ] && { samples=$candidate; break; }
  done
fi
# Target name -> the sample folders whose files seed it.
declare -A sample_seeds=([tds_loader_fuzzer]=3ds [image_loader_fuzzer]=png [model_loader_fuzzer]="gltf obj")

echo "== build fuzz targets"
if ! cmake --preset fuzz -B "$build" >"$artifacts/configure.log" 2>&1; then
  cat "$artifacts/configure.log"
  echo "fuzz: configure failed" >&2
  exit 1
fi
if ! cmake --build "$build" -j "$jobs" --target qv_fuzzers >"$artifacts/build.log" 2>&1; then
  tail -n 40 "$artifacts/build.log"
  echo "fuzz: build failed" >&2
  exit 1
fi

# The targets write a file per input: a memory file system keeps that from being the bottleneck.
scratch_parent=/dev/shm
[ -d "$scratch_parent" ] && [ -w "$scratch_parent" ] || scratch_parent=${TMPDIR:-/tmp}
scratch=$(mktemp -d "$scratch_parent/qv-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

status=0
ran=0
for target in "$build"/bin/*_fuzzer; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=$scratch/$name/corpus
  work=$scratch/$name/work
  mkdir -p "$corpus" "$work"
  if [ -d "fuzz/corpus/$name" ]; then
    cp -R "fuzz/corpus/$name/." "$corpus/"
  fi
  for kind in ${sample_seeds[$name]:-}; do
    if [ -n "$samples" ] && [ -d "$samples/$kind" ]; then
      find "$samples/$kind" -maxdepth 1 -type f -exec cp {} "$corpus/" \;
    fi
  done
  log=$artifacts/$name.log
  echo "== fuzz $name for ${seconds}s ($(ls "$corpus" | wc -l) seeds)"
  # The target runs in an empty directory of its own: it writes its input files there, and its
  # module scans find no module libraries.
  (cd "$work" && "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$artifacts/$name-" -print_final_stats=1 "$corpus") >"$log" 2>&1
  rc=$?
  ran=$((ran + 1))
  if [ "$rc" -ne 0 ]; then
    status=1
    tail -n 60 "$log"
    echo "fuzz: $name FAILED (exit $rc); inputs in $artifacts/" >&2
  else
    grep -E '^(stat::number_of_executed_units|stat::new_units_added)' "$log" | sed 's/^/   /'
  fi
done

if [ "$ran" -eq 0 ]; then
  echo "fuzz: no fuzz targets were built" >&2
  exit 1
fi
echo "== fuzz: $ran target(s) run, $([ "$status" -eq 0 ] && echo "no failures" || echo "failures found")"
exit "$status"
