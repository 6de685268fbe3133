#!/usr/bin/env bash
# Builds the benchmarks (Release) and prints every figure of docs/performance.md:
# the benchmark medians with their ratio to BM_CopyLevelPixels of the same
# run, the editor's start-up time under Xvfb and its peak memory after
# drawing every room of the demo cartridge.
# usage: tools/run-bench.sh [repetitions (default 15)] [extra benchmark arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
reps=${1:-15}
shift || true
build_dir=build-bench
out_dir=$build_dir/results
tools/bootstrap.sh "$build_dir" -DCMAKE_BUILD_TYPE=Release -DVORNED_BUILD_BENCH=ON -DVORNED_BUILD_TESTS=OFF
mkdir -p "$out_dir"

echo "== machine"
lscpu | grep -E '^(Model name|CPU\(s\)|Thread|Core|L2|L3)' || true
echo "load before: $(uptime)"

echo "== benchmarks ($reps repetitions, medians)"
QT_QPA_PLATFORM=offscreen "$build_dir/bench/vorned_bench" \
  --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
  --benchmark_out="$out_dir/bench.json" --benchmark_out_format=json "$@" >"$out_dir/bench.txt"
if command -v python3 >/dev/null; then
  python3 - "$out_dir/bench.json" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}
med = {b["run_name"]: b["real_time"] * scale[b["time_unit"]]
       for b in runs if b.get("aggregate_name") == "median"}
cv = {b["run_name"]: b["real_time"] for b in runs if b.get("aggregate_name") == "cv"}
base = med["BM_CopyLevelPixels"]
print(f"{'benchmark':34} {'median (us)':>12} {'x baseline':>11} {'cv':>6}")
for name, t in med.items():
    print(f"{name:34} {t:12.3f} {t / base:11.3f} {cv.get(name, 0) * 100:5.1f}%")
PY
else
  grep -E '_median' "$out_dir/bench.txt"
fi
echo "load after: $(uptime)"

echo "== start-up: from starting vorned to its window being shown (Xvfb)"
if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
  display=:$(( 90 + RANDOM % 100 ))
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  sleep 1
  times=()
  for _ in $(seq 1 10); do
    start=$(date +%s%N)
    DISPLAY=$display "$build_dir/src/app/vorned" >/dev/null 2>&1 &
    editor_pid=$!
    DISPLAY=$display xdotool search --sync --onlyvisible --name '^VornEd V0\.3' >/dev/null
    end=$(date +%s%N)
    kill "$editor_pid"; wait "$editor_pid" 2>/dev/null || true
    times+=($(( (end - start) / 1000000 )))
  done
  sorted=($(printf '%s\n' "${times[@]}" | sort -n))
  echo "runs (ms): ${times[*]}"
  echo "median: $(( (sorted[4] + sorted[5]) / 2 )) ms"
  kill $xvfb_pid 2>/dev/null || true
  trap - EXIT
else
  echo "Xvfb or xdotool missing (apt-get install xvfb xdotool)"
fi

echo "== peak memory: demo opened, every room of every zone drawn"
/usr/bin/time -v "$build_dir/bench/vorned_draw_all_rooms" 2>"$out_dir/time.txt"
grep -E 'Maximum resident set size|Elapsed' "$out_dir/time.txt"
