#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs one of them for a set time.
#   scripts/fuzz.sh TARGET SECONDS [extra libFuzzer flags]
# Corpus and crashes are kept under build-fuzz/corpus/TARGET and build-fuzz/crashes/TARGET.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh TARGET SECONDS}
seconds=${2:-600}
shift 2 || true
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSORVANE_FUZZ=ON -DSORVANE_SANITIZE=ON -DSORVANE_GUI=OFF -DSORVANE_TESTS=OFF >/dev/null
cmake --build build-fuzz --target "$target"
mkdir -p "build-fuzz/corpus/$target" "build-fuzz/crashes/$target"
seeds=()
if [ -d "tests/fuzz/seeds/$target" ]; then seeds+=("tests/fuzz/seeds/$target"); fi
"build-fuzz/bin/$target" "build-fuzz/corpus/$target" "${seeds[@]}" \
  -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
  -artifact_prefix="build-fuzz/crashes/$target/" "$@"
