#!/usr/bin/env bash
# Times repeat searches with the per-user cell index: a first run that builds it, a second
# run, and a second run after 1 % of the books were rewritten, on the bench corpus and on
# eight copies of it, each next to a run that reads every book (--no-index). Prints the
# ratios and the index's size on disk. Needs the corpus of bench/run_bench.sh in WORKDIR.
#   bench/index_bench.sh [WORKDIR] [WORD]       RUNS=5
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(realpath -m "${1:-build-bench}")
word=${2:-needle}
runs=${RUNS:-5}
if [ ! -f "$work/corpus1-manifest.csv" ]; then
  echo "No corpus in $work: run bench/run_bench.sh $work first." >&2
  exit 2
fi
cmake -S . -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSORVANE_GUI=OFF \
  -DSORVANE_TESTS=OFF >/dev/null
cmake --build "$work/build" --target sorvane-search
search="$work/build/bin/sorvane-search"
# Eight copies of corpus1 whose files can be rewritten one by one (no hard links).
if [ ! -d "$work/corpus8/copy8" ]; then
  rm -rf "$work/corpus8" && mkdir -p "$work/corpus8"
  for i in $(seq 1 8); do cp -a "$work/corpus1" "$work/corpus8/copy$i"; done
fi
export XDG_CACHE_HOME="$work/index-cache"
index="$XDG_CACHE_HOME/Tavrick/Sorvane/cells.sqlite"
results="$work/index-results-$(date +%Y%m%d-%H%M%S).txt"
bench_py="$PWD/bench/bench.py"
time_it() { python3 "$bench_py" "$@" | tee -a "$results.raw"; }
: >"$results.raw"
for corpus in corpus1 corpus8; do
  dir="$work/$corpus"
  time_it --runs "$runs" --label "full:$corpus" -- "$search" --no-index -s "$dir" "$word"
  time_it --runs "$runs" --label "first:$corpus" -- \
    bash -c '"$1" --rebuild-index -s "$2" "$3"; s=$?; [ $s -le 1 ]' _ "$search" "$dir" "$word"
  "$search" --rebuild-index -s "$dir" "$word" >/dev/null || true
  time_it --runs "$runs" --label "second:$corpus" -- "$search" -s "$dir" "$word"
  # Every hundredth book gets a new time, so its entry is stale; each timed run starts from
  # the index as it was before, so it finds them stale again.
  cp "$index" "$index.before"
  time_it --runs "$runs" --label "changed:$corpus" -- bash -c \
    'find "$2" -type f \( -name "*.xlsx" -o -name "*.xls" -o -name "*.csv" \) | sort |
       awk "NR % 100 == 1" | xargs -d "\n" touch
     cp "$4.before" "$4"; "$1" -s "$2" "$3"; s=$?; [ $s -le 1 ]' \
    _ "$search" "$dir" "$word" "$index"
  cp "$index.before" "$index" && rm -f "$index.before"
  du -b "$index" | awk -v c="$corpus" '{print "size:" c "\t" $1 / 1e6 "\t0\t0\t0"}' >>"$results.raw"
done
python3 - "$results.raw" <<'PY' | tee "$results"
import sys
rows = {}
for line in open(sys.argv[1]):
    label, median, best, rss, lines = line.split("\t")
    rows[label] = (float(median), float(rss), int(lines))
for corpus in ("corpus1", "corpus8"):
    full = rows[f"full:{corpus}"][0]
    print(f"{corpus}: without the index {full:.3f} s, {rows[f'full:{corpus}'][2]} hits")
    for kind, target in (("first", "<= 1.15"), ("second", "<= 0.10"), ("changed", "")):
        t, rss, lines = rows[f"{kind}:{corpus}"]
        print(f"  {kind:<8}{t:>8.3f} s {t / full:>6.3f}x  {target:<8} peak {rss:.0f} MB")
    print(f"  index size on disk: {rows[f'size:{corpus}'][0]:.1f} MB")
PY
rm -f "$results.raw"
echo "Results written to $results"
