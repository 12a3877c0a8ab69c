#!/usr/bin/env bash
# zeltarn-cli on the full 500 x 26 sheet of formulas as a whole process, beside Gnumeric's
# ssconvert on the same files: show of the CSV, and the sheet written as a book (.xlsx) and
# read back. Prints the median of RUNS starts of each.
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

book = f"{work}/full500.xlsx"
subprocess.run([cli, "convert", sheet, book], check=True)
cases = [
    ("show full500.csv", [cli, "show", sheet], ["ssconvert", sheet, f"{work}/out.csv"]),
    ("write full500 as a book", [cli, "convert", sheet, f"{work}/ours.xlsx"],
     ["ssconvert", sheet, f"{work}/theirs.xlsx"]),
    ("read full500.xlsx", [cli, "convert", book, f"{work}/ours.csv"], ["ssconvert", book, f"{work}/theirs.csv"]),
]
for what, ours_command, theirs_command in cases:
    ours = median_ms(ours_command)
    line = f"{what}: zeltarn-cli median {ours:.1f} ms"
    if shutil.which("ssconvert"):
        theirs = median_ms(theirs_command)
        line += f", ssconvert {theirs:.1f} ms, {theirs / ours:.1f} times faster"
    print(line + f" ({runs} runs)")
PY
