#!/usr/bin/env bash
# zeltarn-cli show on the full 500 x 26 sheet of formulas as a whole process, beside
# Gnumeric's ssconvert turning the same file into CSV (install gnumeric for the comparison;
# the project does not need it). Prints the median of RUNS starts of each.
# Usage: cli_vs_ssconvert.sh ZELTARN_CLI [RUNS]
set -euo pipefail
cli="$1"
runs="${2:-11}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$(dirname "$0")/make_sheets.py" "$work" >/dev/null
python3 - "$cli" "$runs" "$work" <<'PY'
import shutil, statistics, subprocess, sys, time
cli, runs, work = sys.argv[1], int(sys.argv[2]), sys.argv[3]
sheet = f"{work}/full500.csv"

def median_ms(command):
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times.append((time.perf_counter() - start) * 1000)
    return statistics.median(times)

ours = median_ms([cli, "show", sheet])
print(f"zeltarn-cli show full500.csv: median {ours:.1f} ms ({runs} runs)")
if shutil.which("ssconvert"):
    theirs = median_ms(["ssconvert", sheet, f"{work}/out.csv"])
    print(f"ssconvert full500.csv to CSV: median {theirs:.1f} ms ({runs} runs)")
    print(f"ratio: {theirs / ours:.1f} times faster")
else:
    print("ssconvert not installed: no comparison")
PY
