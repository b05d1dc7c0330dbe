#!/usr/bin/env python3
"""Writes bench/results/FEATURES.md from the runs of bench/features.sh. Usage: features_report.py WORK"""
import glob
import json
import math
import os
import sys

from PIL import Image, ImageChops, ImageStat

work = sys.argv[1]


def medians(name):
    with open(os.path.join(work, "runs", name + ".json")) as f:
        return {r["command"]: r["median"] for r in json.load(f)["results"]}


def psnr(a, b):
    """Over premultiplied RGBA, so that the colour of fully transparent pixels does not count."""
    a = Image.open(a).convert("RGBA").convert("RGBa")
    b = Image.open(b).convert("RGBA").convert("RGBa")
    mse = sum(ImageStat.Stat(ImageChops.difference(a, b)).sum2) / (a.width * a.height * 4)
    return 99.0 if mse == 0 else 10 * math.log10(255 ** 2 / mse)


def pair(title, heads, times):
    """One row of two times from the same run and their ratio, under a heading."""
    print(f"## {title}\n")
    print(f"| {heads[0]} | {heads[1]} | ratio |")
    print("|---|---|---|")
    print(f"| {times[0]:.3f} s | {times[1]:.3f} s | {times[1] / times[0]:.3f} |\n")


def icons(folder):
    found = {}
    for path in glob.glob(os.path.join(work, folder, "Quorva/icon/iOS/AppIcon.appiconset/*.png")):
        found.setdefault(Image.open(path).width, path)
    return found


print("# Quorva's newer jobs\n")
print("Made by `bash bench/features.sh`: medians of hyperfine runs of `quorva-cli`, each pair in one run.\n")
def libraries(kind):
    with open(os.path.join(work, "runs", f"libraries-{kind}.txt")) as f:
        return [line.strip() for line in f if line.strip()]


png_libs, svg_libs = libraries("png"), libraries("svg")
print("## Start-up\n")
print(f"`quorva-cli --version`: {medians('startup')['version'] * 1000:.1f} ms.\n")
print("| run | shared libraries loaded | librsvg among them |")
print("|---|---|---|")
for name, libs in (("app icon set from a PNG", png_libs), ("from an SVG", svg_libs)):
    print(f"| {name} | {len(libs)} | {'yes' if any('librsvg' in lib for lib in libs) else 'no'} |")
print("\nWhat only the SVG run loads: " + ", ".join(sorted(os.path.basename(l) for l in set(svg_libs) - set(png_libs))) + ".\n")
single = medians("single-size")
pair("Single-size set with dark and tinted, against the classic set",
     ("classic (17 icons)", "single-size, --background white --dark --tinted"), (single["classic"], single["single-size"]))
vector = medians("vector")
pair("An SVG source, against the same art as a 1024 px PNG", ("app icon set from the PNG", "from the SVG"),
     (vector["png"], vector["svg"]))
svg, png = icons("from-svg"), icons("from-png")
rows = []
for reference in sorted(glob.glob(os.path.join(work, "reference/*.png")), key=lambda p: int(os.path.basename(p)[:-4])):
    side = int(os.path.basename(reference)[:-4])
    rows.append((side, psnr(svg[side], reference), psnr(png[side], reference)))
print("PSNR of each icon against librsvg drawing the SVG at that size (premultiplied RGBA, dB):\n")
print("| side | from the SVG | from the 1024 px PNG |")
print("|---|---|---|")
for side, a, b in rows:
    print(f"| {side} | {a:.1f} | {b:.1f} |")
print(f"| **mean** | **{sum(r[1] for r in rows) / len(rows):.1f}** | **{sum(r[2] for r in rows) / len(rows):.1f}** |\n")
batch = medians("batch")
pair("40 image sets of 1024 x 1024 px photographs", ("40 runs", "one run with 40 sources"),
     (batch["separate-runs"], batch["one-run"]))
check = medians("check")
pair("check over a catalog of 200 classic app icon sets (3000 PNG files)", ("pngcheck -q", "quorva-cli check"),
     (check["pngcheck"], check["check"]))
platforms = medians("platforms")
pair("The macOS icons (10 files, shaped), against the classic iOS set (17 icons)", ("--platform ios", "--platform macos"),
     (platforms["ios"], platforms["macos"]))
android = medians("android")
pair("The Android launcher icon with its themed layer and Play Store icon, against sharp doing the same",
     ("sharp", "quorva-cli android"), (android["sharp"], android["quorva"]))
