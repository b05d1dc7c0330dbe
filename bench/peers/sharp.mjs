// The same two jobs with sharp, as a Node tool would do them: decode once, write every size
// concurrently, sharp's defaults otherwise (lanczos3, PNG level 6).
// Usage: node sharp.mjs appicon|imageset SOURCE OUTDIR
import { mkdirSync, readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const require = createRequire(import.meta.url);
const sharp = require('sharp');
const here = path.dirname(fileURLToPath(import.meta.url));
const [kind, source, out] = process.argv.slice(2);
mkdirSync(out, { recursive: true });

const image = sharp(readFileSync(source));
let jobs;
if (kind === 'appicon') {
  const sizes = JSON.parse(readFileSync(path.join(here, 'sizes.json'), 'utf8')).appicon;
  jobs = sizes.map(([name, side]) =>
    image.clone().resize(side, side, { fit: 'fill' }).png().toFile(path.join(out, name)));
} else {
  const { width: w, height: h } = await image.metadata();
  const scales = [['asset@1x.png', Math.floor(w / 3), Math.floor(h / 3)],
                  ['asset@2x.png', Math.floor(2 * w / 3), Math.floor(2 * h / 3)],
                  ['asset@3x.png', w, h]];
  jobs = scales.map(([name, sw, sh]) =>
    image.clone().resize(sw, sh, { fit: 'fill' }).png().toFile(path.join(out, name)));
}
await Promise.all(jobs);
