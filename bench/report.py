"""Makes bench/results/RESULTS.md from one run of bench/run.sh: every figure a median of that
run, every ratio between figures of the same run."""
import json
import os
import platform
import subprocess
import sys

runs = sys.argv[1]
tools = ["quorva", "sharp", "pillow", "imagemagick"]
jobs = [("appicon-icon-rgba", "App icon set from a 1024 × 1024 RGBA PNG", "floor/appicon/icon-rgba"),
        ("appicon-icon-rgb", "App icon set from the same, opaque", "floor/appicon/icon-rgb"),
        ("imageset-photo", "Image set from a 12 MP JPEG photograph", "floor/imageset/photo")]

floor = {}
probes = {}
with open(os.path.join(runs, "floor.json")) as f:
    for b in json.load(f)["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        name = b["run_name"].removesuffix("/real_time").split("/iterations:")[0]
        floor[name] = b["real_time"] / 1000.0  # ms to s
        if name.startswith("app/"):
            probes[name] = b.get("longest_busy_ms")


def read(path):
    with open(path) as f:
        return f.read().strip()


def medians(job):
    with open(os.path.join(runs, job + ".json")) as f:
        return {r["command"]: r["median"] for r in json.load(f)["results"]}


cpu = read("/proc/cpuinfo").split("model name")[1].split("\n")[0].strip(": \t")
print("# Benchmark results\n")
print(f"One run of `bash bench/run.sh` on {os.cpu_count()} cores ({cpu}), Linux {platform.release()}. "
      "Each command is a whole process writing real PNG files; times are medians of hyperfine runs "
      "after a warm-up; ratios are between figures of this same run. The floor is decoding, every "
      "rescale and every encoding in memory in a warm process (Google Benchmark, median of 5).\n")

print("## Time\n")
print("| job | quorva-cli | sharp | Pillow | ImageMagick | floor | quorva / sharp | quorva / Pillow | "
      "quorva / ImageMagick | quorva / floor |")
print("|---|---|---|---|---|---|---|---|---|---|")
for job, title, floor_name in jobs:
    m = medians(job)
    q = m["quorva"]
    fl = floor.get(floor_name)
    cells = [f"{m[t]:.3f} s" for t in tools]
    print(f"| {title} | " + " | ".join(cells) + f" | {fl:.3f} s | {q / m['sharp']:.2f} | {q / m['pillow']:.2f} | "
          f"{q / m['imagemagick']:.3f} | {q / fl:.2f} |")

print("\n## Peak memory (maximum resident set size)\n")
print("| job | " + " | ".join(tools) + " | quorva / sharp |")
print("|---|" + "---|" * (len(tools) + 1))
for job, title, _ in jobs:
    rss = {t: int(read(os.path.join(runs, f"{job}.{t}.rss")).splitlines()[-1]) for t in tools}
    print(f"| {title} | " + " | ".join(f"{rss[t] / 1024:.0f} MiB" for t in tools) +
          f" | {rss['quorva'] / rss['sharp']:.2f} |")

print("\n## Bytes written (the set's PNG files)\n")
print("| job | " + " | ".join(tools) + " |")
print("|---|" + "---|" * len(tools))
for job, title, _ in jobs:
    sizes = {t: int(read(os.path.join(runs, f"{job}.{t}.bytes"))) for t in tools}
    print(f"| {title} | " + " | ".join(f"{sizes[t]:,}" for t in tools) + " |")

libpng = os.path.join(runs, "imageset-photo.quorva.libpng")
if os.path.exists(libpng):
    print("\n## Image set PNGs against libpng's default settings for the same pixels\n")
    print("| file | quorva-cli | libpng default | ratio |")
    print("|---|---|---|---|")
    for line in read(libpng).splitlines():
        path, ours, theirs = line.rsplit(" ", 2)
        print(f"| {os.path.basename(path)} | {int(ours):,} | {int(theirs):,} | {int(ours) / int(theirs):.3f} |")

if probes:
    print("\n## The application's main thread\n\nLongest stretch the main thread was busy while a job ran as "
          "the window runs it (1 ms probe timer on the Qt event loop; worst of the job's repetitions, median of "
          "5 runs):\n")
    print("| job | longest busy stretch |\n|---|---|")
    titles = {"app/main-thread-during-appicon": "App icon set from the 1024 px icon (20 jobs)",
              "app/main-thread-during-imageset-48mp": "Image set from a 48 MP (8000 × 6000) photograph (3 jobs)"}
    for name, busy in sorted(probes.items()):
        print(f"| {titles.get(name, name)} | {busy:.0f} ms |")
