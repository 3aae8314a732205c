#!/usr/bin/env bash
# Times `sorvane-search -s CORPUS needle` (reading every book: --no-index) next to its peers (a SheetJS script, Gnumeric's
# ssgrep) and the zlib floor on the generated corpus, and prints the ratios the performance
# targets are stated in. Results go to WORKDIR/results-*.txt (default WORKDIR: build-bench).
#   bench/run_bench.sh [WORKDIR]        RUNS=5 PEER_RUNS=1 SKIP_PEERS=0
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(realpath -m "${1:-build-bench}")
runs=${RUNS:-5}
peer_runs=${PEER_RUNS:-1}
mkdir -p "$work"

need=()
for p in gnumeric libreoffice-calc-nogui python3; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
command -v node >/dev/null || need+=(nodejs npm)
if ((${#need[@]})); then
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
bash scripts/install-deps.sh

cmake -S . -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSORVANE_GUI=OFF \
  -DSORVANE_TESTS=OFF >/dev/null
cmake --build "$work/build" --target sorvane-search
search="$work/build/bin/sorvane-search"

if [ ! -d "$work/peers/node_modules/xlsx" ]; then
  npm install --silent --prefix "$work/peers" xlsx@0.18.5 >/dev/null
fi
for scale in 1 2; do
  if [ ! -f "$work/corpus$scale-manifest.csv" ]; then
    echo "Generating corpus (scale $scale)..."
    python3 bench/generate_corpus.py "$work/corpus$scale" --scale "$scale"
  fi
done
if [ ! -f "$work/records1-manifest.csv" ]; then
  echo "Generating the records corpus..."
  python3 bench/generate_corpus.py "$work/records1" --shape records
fi
# Corpus x4: four hard-linked copies of corpus1 (the same bytes, four times the files).
if [ ! -d "$work/corpus4/copy4" ]; then
  rm -rf "$work/corpus4" && mkdir -p "$work/corpus4"
  for i in 1 2 3 4; do cp -al "$work/corpus1" "$work/corpus4/copy$i"; done
fi
mkdir -p "$work/single"
cp -f "$(find "$work/corpus1" -name large_00.xlsx | head -1)" "$work/single/"
# Flushed before timing, so that writing a new corpus back does not fall into the first runs
# (they came out 1.2 times slower).
sync

results="$work/results-$(date +%Y%m%d-%H%M%S).txt"
# An absolute path: the ssgrep run times from inside the corpus.
bench_py="$PWD/bench/bench.py"
time_it() { python3 "$bench_py" "$@" | tee -a "$results.raw"; }
: >"$results.raw"
time_it --runs "$runs" --label floor -- python3 bench/inflate_floor.py "$work/corpus1"
time_it --runs "$runs" --label sorvane -- "$search" --no-index -s "$work/corpus1" needle
time_it --runs "$runs" --label sorvane_x2 -- "$search" --no-index -s "$work/corpus2" needle
time_it --runs "$runs" --label sorvane_x4 -- "$search" --no-index -s "$work/corpus4" needle
time_it --runs "$runs" --label sorvane_frequent -- "$search" --no-index -s "$work/corpus1" frequent
time_it --runs "$runs" --label single_large -- "$search" --no-index "$work/single" needle
# Every look-in, and the match options that change the hot path, on both corpus shapes; each
# against the inflate floor of its own corpus, measured in the same run.
for corpus in corpus1 records1; do
  time_it --runs "$runs" --label "floor:$corpus" -- python3 bench/inflate_floor.py "$work/$corpus"
  for look in formulas values comments; do
    time_it --runs "$runs" --label "$look:$corpus" -- \
      "$search" --no-index -s --look-in "$look" "$work/$corpus" needle
  done
  for option in --whole-cell --match-case --ignore-width; do
    time_it --runs "$runs" --label "values$option:$corpus" -- \
      "$search" --no-index -s --look-in values "$option" "$work/$corpus" needle
  done
done
if [ "${SKIP_PEERS:-0}" != 1 ]; then
  NODE_PATH="$work/peers/node_modules" time_it --runs "$peer_runs" --label sheetjs -- \
    node bench/sheetjs_search.js "$work/corpus1" needle
  mapfile -t files < <(cd "$work/corpus1" && find . -path '*/.*' -prune -o -type f \
    \( -iname '*.xlsx' -o -iname '*.xls' -o -iname '*.csv' \) -print | sort)
  # ssgrep gives up on the whole list at the first file it cannot read (the CP932 .csv
  # files), so it is run once per file, as a user wanting every hit would have to.
  (cd "$work/corpus1" && time_it --runs "$peer_runs" --label ssgrep --ok-codes 0,1,2 -- \
    bash -c 'for f in "$@"; do ssgrep -i -F -H -n needle "$f"; done; exit 0' ssgrep "${files[@]}")
fi
# The default look-in (formulas) finds the planted values, not the planted comments.
# The manifest has CRLF line ends (Python's csv module writes them).
expected=$(tr -d '\r' <"$work/corpus1-manifest.csv" | grep -c ",value$" || true)

python3 - "$results.raw" "$work" "$expected" <<'PY' | tee "$results"
import os, sys
raw, work, expected = sys.argv[1], sys.argv[2], int(sys.argv[3])
rows = {}
for line in open(raw):
    label, median, best, rss, lines = line.split("\t")
    rows[label] = (float(median), float(rss), int(lines))
def size(path):
    total = files = 0
    for root, dirs, names in os.walk(path):
        dirs[:] = [d for d in dirs if not d.startswith(".")]
        for n in names:
            if not n.startswith(".") and n.lower().endswith((".xls", ".xlsx", ".csv")):
                total += os.path.getsize(os.path.join(root, n)); files += 1
    return total, files
bytes1, files1 = size(os.path.join(work, "corpus1"))
print(f"corpus: {files1} files, {bytes1 / 1e6:.1f} MB on disk; planted values expected {expected}")
print(f"{'command':<18}{'median s':>10}{'MB/s':>9}{'files/s':>9}{'peak MB':>9}{'hits':>8}")
for label, (t, rss, lines) in rows.items():
    if ":" in label:
        continue
    scale = 2 if label.endswith("_x2") else 4 if label.endswith("_x4") else 1
    mbs = bytes1 * scale / 1e6 / t if label not in ("single_large",) else 0
    fps = files1 * scale / t if label not in ("single_large",) else 0
    print(f"{label:<18}{t:>10.3f}{mbs:>9.1f}{fps:>9.1f}{rss:>9.1f}{lines:>8}")
s = rows["sorvane"][0]
print()
print(f"hits found / expected:                  {rows['sorvane'][2]} / {expected}")
if "sheetjs" in rows:
    print(f"SheetJS / sorvane (target >= 20):       {rows['sheetjs'][0] / s:.1f}x")
    print(f"SheetJS / values (target >= 40):        "
          f"{rows['sheetjs'][0] / rows['values:corpus1'][0]:.1f}x")
if "ssgrep" in rows:
    print(f"ssgrep / sorvane:                       {rows['ssgrep'][0] / s:.1f}x")
print(f"sorvane / zlib floor (target <= 1.5):   {s / rows['floor'][0]:.2f}")
print(f"corpus x2 / x1 (target <= 2.0):         {rows['sorvane_x2'][0] / s:.2f}")
print(f"corpus x4 / x1 (target <= 4.2):         {rows['sorvane_x4'][0] / s:.2f}")
print(f"frequent / needle (target <= 2.0):      {rows['sorvane_frequent'][0] / s:.2f}  "
      f"({rows['sorvane_frequent'][2]} hits)")
print()
print("look-in and options per corpus, median s / its inflate floor (target <= 1.3), peak MB")
for corpus in ("corpus1", "records1"):
    floor = rows[f"floor:{corpus}"][0]
    print(f"  {corpus}: floor {floor:.3f} s")
    for label, (t, rss, lines) in rows.items():
        if label.endswith(":" + corpus) and not label.startswith("floor"):
            name = label.split(":")[0]
            print(f"    {name:<24}{t:>8.3f} s{t / floor:>7.2f}x{rss:>8.0f} MB{lines:>7} hits")
print(f"single 50,000x10 .xlsx (target < 0.25 s, < 150 MB): "
      f"{rows['single_large'][0]:.3f} s, {rows['single_large'][1]:.0f} MB, "
      f"{rows['single_large'][0] / 500000 * 1e9:.0f} ns per cell")
PY
rm -f "$results.raw"
echo "Results written to $results"
