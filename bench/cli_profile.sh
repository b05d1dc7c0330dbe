#!/usr/bin/env bash
# Where the time of one `quorva-cli appicon` run goes, and what writing each file once saved:
# - files opened for writing, counted with strace, and the time of a whole run, for this tree and
#   for BASE (default 9dd6685, the last commit that rewrote the set at every delivery step), both
#   built the same way in one run;
# - the start-up: `quorva-cli --version` (the process, its libraries, Qt's start) against the
#   whole run, and the in-memory floor of the same job from quorva_bench;
# - a cpu-clock profile of whole runs by library (perf).
# Writes bench/results/CLI_PROFILE.md. Usage: bash bench/cli_profile.sh [RUNS] [BASE]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
base=${2:-9dd6685}
bash scripts/install-deps.sh --bench
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVA_BUILD_TESTS=OFF -DQUORVA_BUILD_APP=OFF >/dev/null
cmake --build build-bench --target quorva-cli quorva_bench >/dev/null
work=bench/results/cli-profile
rm -rf "$work"
mkdir -p "$work"
git worktree remove --force "$work/base" 2>/dev/null || true
git worktree add --detach "$work/base" "$base" >/dev/null
cmake -S "$work/base" -B "$work/base-build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVA_BUILD_TESTS=OFF \
  -DQUORVA_BUILD_APP=OFF -DQUORVA_BUILD_BENCH=OFF >/dev/null
cmake --build "$work/base-build" --target quorva-cli >/dev/null

rsvg-convert -w 1024 -h 1024 /usr/share/icons/breeze/apps/48/kdenlive.svg -o "$work/icon.png"
now=build-bench/src/cli/quorva-cli
before=$work/base-build/src/cli/quorva-cli
opens() { # cli: the openat calls that may write, over a whole run into a fresh folder
  rm -rf "$work/out"
  strace -f -qq -e trace=openat -o "$work/strace.txt" "$1" appicon "$work/icon.png" "$work/out"
  grep -c -E 'O_WRONLY|O_RDWR' "$work/strace.txt"
}
opens_before=$(opens "$before")
opens_now=$(opens "$now")
files=$(find "$work/out" -type f | wc -l)
hyperfine --warmup 3 --runs "$runs" --prepare "rm -rf $work/out" --export-json "$work/times.json" \
  -n before "$before appicon $work/icon.png $work/out" -n now "$now appicon $work/icon.png $work/out" \
  -n version-before "$before --version" -n version "$now --version" >/dev/null
libraries_before=$(ldd "$before" | wc -l)
libraries_now=$(ldd "$now" | wc -l)
rsvg_now=$(ldd "$now" | grep -c rsvg || true)
build-bench/bench/quorva_bench --icon-rgba="$work/icon.png" --benchmark_filter='floor/appicon/icon-rgba' \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true --benchmark_out="$work/floor.json" \
  --benchmark_out_format=json >/dev/null
perf record -q -e cpu-clock -F 4000 -o "$work/perf.data" -- bash -c \
  "for i in \$(seq 1 $runs); do rm -rf $work/out; $now appicon $work/icon.png $work/out; done" 2>/dev/null
# The pool's threads are named "Thread (pooled)"; the shell and rm of the loop are left out.
perf report -i "$work/perf.data" --comms 'quorva-cli,Thread (pooled)' --sort comm,dso --stdio 2>/dev/null |
  grep -E '^ +[0-9]' | head -14 >"$work/dso.txt"
git worktree remove --force "$work/base"

/usr/bin/python3 - "$work" "$opens_before" "$opens_now" "$files" "$base" "$libraries_before" "$libraries_now" \
  "$rsvg_now" >bench/results/CLI_PROFILE.md <<'PY'
import json, sys
work, before, now, files, base = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]), sys.argv[5]
libs_before, libs_now, rsvg = int(sys.argv[6]), int(sys.argv[7]), int(sys.argv[8])
times = {r["command"]: r for r in json.load(open(f"{work}/times.json"))["results"]}
floor = [b for b in json.load(open(f"{work}/floor.json"))["benchmarks"] if b["aggregate_name"] == "median"][0]
ms = lambda r: r["median"] * 1000
run, start, fl = ms(times["now"]), ms(times["version"]), floor["real_time"]
print("# One `quorva-cli appicon` run: writes and start-up\n")
print("From `bash bench/cli_profile.sh`, on this machine in one run; times are hyperfine medians.\n")
print("| | base " + base + " | now |\n|---|---|---|")
print(f"| files opened for writing (strace) | {before} | {now} |")
print(f"| files in the set | {files} | {files} |")
print(f"| whole run | {ms(times['before']):.1f} ms | {run:.1f} ms |")
print(f"| now / base | | {run / ms(times['before']):.2f} |")
print(f"| start-up and exit (`--version`) | {ms(times['version-before']):.1f} ms | {start:.1f} ms |")
print(f"| libraries loaded at start (ldd) | {libs_before} | {libs_now} (librsvg: {rsvg}) |\n")
print("A PNG job never loads librsvg: the SVG module is opened only when an SVG is drawn.\n")
print("## Where a run's time goes\n")
print("| part | ms | share of the run |\n|---|---|---|")
print(f"| start-up and exit (`quorva-cli --version`) | {start:.1f} | {start / run:.0%} |")
print(f"| the job in memory (floor: decode, 17 rescales, 17 encodes) | {fl:.1f} | {fl / run:.0%} |")
print(f"| the rest (allocator set-up, writing, waiting on threads) | {run - start - fl:.1f} | {(run - start - fl) / run:.0%} |\n")
print("## cpu-clock samples of whole runs, by thread and library (perf)\n\n```")
print(open(f"{work}/dso.txt").read().rstrip())
print("```")
PY
cat bench/results/CLI_PROFILE.md
