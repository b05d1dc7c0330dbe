"""The same two jobs with Pillow, as a user's script would do them: LANCZOS, PNG defaults.

Usage: pillow.py appicon|imageset SOURCE OUTDIR
"""
import json
import os
import sys

from PIL import Image

kind, source, out = sys.argv[1:4]
os.makedirs(out, exist_ok=True)
image = Image.open(source)
image.load()
if kind == "appicon":
    with open(os.path.join(os.path.dirname(__file__), "sizes.json")) as f:
        sizes = json.load(f)["appicon"]
    for name, side in sizes:
        image.resize((side, side), Image.LANCZOS).save(os.path.join(out, name))
else:
    w, h = image.size
    for name, size in (("asset@1x.png", (w // 3, h // 3)), ("asset@2x.png", (2 * w // 3, 2 * h // 3)),
                       ("asset@3x.png", (w, h))):
        (image if size == (w, h) else image.resize(size, Image.LANCZOS)).save(os.path.join(out, name))
