#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a few seconds each, starting from its seeds.
# Usage: run-fuzzers.sh BUILD_DIR SECONDS
set -euo pipefail
build=${1:?build directory}
seconds=${2:-15}
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
for target in "$build"/fuzz/*_fuzz; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=$(mktemp -d)
  seeds="$root/fuzz/seeds/${name%_fuzz}"
  [ -d "$seeds" ] && cp -r "$seeds"/. "$corpus"/
  echo "fuzz: $name for ${seconds}s"
  # A failing input is printed in the log (as bytes and base64); no file lands in the checkout.
  if ! "$target" -max_total_time="$seconds" -print_final_stats=0 -artifact_prefix="$corpus/" \
      "$corpus" >"$corpus.log" 2>&1; then
    tail -n 40 "$corpus.log"
    echo "fuzz: $name FAILED"
    status=1
  fi
  rm -rf "$corpus" "$corpus.log"
done
exit $status
