#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs them for a set time.
#   scripts/fuzz.sh TARGET SECONDS [extra libFuzzer flags]
#   scripts/fuzz.sh all SECONDS      every target in turn, SECONDS each (before a release)
# Corpus and crashes are kept under build-fuzz/corpus/TARGET and build-fuzz/crashes/TARGET;
# the seeds in tests/fuzz/seeds/TARGET start each corpus. Exits non-zero when a target fails.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh TARGET|all SECONDS}
seconds=${2:-600}
shift 2 || true
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSORVANE_FUZZ=ON -DSORVANE_SANITIZE=ON -DSORVANE_GUI=OFF -DSORVANE_TESTS=OFF >/dev/null

run() {
  local name=$1
  shift
  cmake --build build-fuzz --target "$name"
  mkdir -p "build-fuzz/corpus/$name" "build-fuzz/crashes/$name"
  local seeds=()
  if [ -d "tests/fuzz/seeds/$name" ]; then seeds+=("tests/fuzz/seeds/$name"); fi
  "build-fuzz/bin/$name" "build-fuzz/corpus/$name" "${seeds[@]}" \
    -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -artifact_prefix="build-fuzz/crashes/$name/" "$@"
}

if [ "$target" = all ]; then
  failed=()
  for source in tests/fuzz/fuzz_*.cpp; do
    name=$(basename "$source" .cpp)
    echo "== $name, $seconds s"
    run "$name" "$@" || failed+=("$name")
  done
  if ((${#failed[@]})); then
    echo "failed: ${failed[*]}" >&2
    exit 1
  fi
else
  run "$target" "$@"
fi
