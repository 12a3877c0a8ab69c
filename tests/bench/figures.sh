#!/usr/bin/env bash
# The program's figures, offscreen, from one build folder: the median time from start until
# the main window has painted, the resident memory with ten sheets open, the sheet and file
# benchmarks on the sheets make_sheets.py writes, and zeltarn-cli beside ssconvert.
# Usage: figures.sh BUILD_DIR [RUNS]; RUNS below 5 only checks that everything runs.
set -euo pipefail
build="$1"
runs="${2:-21}"
here="$(cd "$(dirname "$0")" && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/run"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config"
probe="$build/tests/bench/startup_probe"

python3 - "$probe" "$runs" <<'PY'
import statistics, subprocess, sys, time
probe, runs = sys.argv[1], int(sys.argv[2])
subprocess.run([probe, "shown"], check=True, stderr=subprocess.DEVNULL)  # warm the file cache once
times = []
for _ in range(runs):
    start = time.perf_counter()
    subprocess.run([probe, "shown"], check=True, stderr=subprocess.DEVNULL)
    times.append((time.perf_counter() - start) * 1000)
print(f"start to main window shown: median {statistics.median(times):.1f} ms "
      f"(min {min(times):.1f}, max {max(times):.1f}, {runs} runs)")
PY

read -r kb sheets < <("$probe" ten 2>/dev/null)
[ "$sheets" = 10 ] || { echo "expected ten sheets open, found $sheets"; exit 1; }
echo "resident memory with ten sheets open: $((kb / 1024)) MB ($kb kB)"

python3 "$here/make_sheets.py" "$work/sheets" >/dev/null
min_time=0.5
[ "$runs" -ge 5 ] || min_time=0.01
export ZEL_BENCH_SHEETS="$work/sheets"
"$build/tests/bench/bench_sheet" --benchmark_min_time="$min_time" 2>/dev/null
"$build/tests/bench/bench_files" --benchmark_min_time="$min_time" 2>/dev/null
"$build/tests/bench/bench_edit" --benchmark_min_time="$min_time" 2>/dev/null
"$build/tests/bench/bench_print" --benchmark_min_time="$min_time" 2>/dev/null
bash "$here/cli_vs_ssconvert.sh" "$build/src/app/zeltarn-cli" "$(( runs < 11 ? runs : 11 ))"
