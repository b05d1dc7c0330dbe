// The same jobs with sharp, as a Node tool would do them: decode once, write every size
// concurrently, sharp's defaults otherwise (lanczos3, PNG level 6).
// Usage: node sharp.mjs appicon|imageset|android SOURCE OUTDIR
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
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
} else if (kind === 'android') {
  // What quorva-cli android SOURCE RES --monochrome --play-store writes: the art's box fitted into
  // the 66 dp circle of a 108 dp layer, over white; the legacy icons the central 72 dp of both
  // layers, the round ones masked; the themed layer white in the art's alpha; the XML and colour.
  const { data, info } = await image.clone().trim().png().toBuffer({ resolveWithObject: true });
  const densities = [['mdpi', 1], ['hdpi', 1.5], ['xhdpi', 2], ['xxhdpi', 3], ['xxxhdpi', 4]];
  const foreground = async (side) => {
    const scale = (66 / 108) * side / Math.hypot(info.width, info.height);
    const w = Math.max(1, Math.round(info.width * scale)), h = Math.max(1, Math.round(info.height * scale));
    const art = await sharp(data).resize(w, h, { fit: 'fill' }).png().toBuffer();
    return sharp({ create: { width: side, height: side, channels: 4, background: { r: 0, g: 0, b: 0, alpha: 0 } } })
      .composite([{ input: art, left: Math.floor((side - w) / 2), top: Math.floor((side - h) / 2) }]).png().toBuffer();
  };
  const shown = async (pixels) => {
    const side = Math.round(pixels * 108 / 72);
    const layer = await foreground(side);
    const both = await sharp({ create: { width: side, height: side, channels: 4, background: '#ffffff' } })
      .composite([{ input: layer }]).png().toBuffer();
    const inset = Math.floor((side - pixels) / 2);
    return sharp(both).extract({ left: inset, top: inset, width: pixels, height: pixels }).png().toBuffer();
  };
  const circle = (side) => Buffer.from(
    `<svg width="${side}" height="${side}"><circle cx="${side / 2}" cy="${side / 2}" r="${side / 2}"/></svg>`);
  jobs = [];
  for (const [name, scale] of densities) {
    const folder = path.join(out, `mipmap-${name}`);
    mkdirSync(folder, { recursive: true });
    const legacy = Math.round(48 * scale), layer = Math.round(108 * scale);
    jobs.push(shown(legacy).then((icon) => sharp(icon).toFile(path.join(folder, 'ic_launcher.png'))));
    jobs.push(shown(legacy).then((icon) => sharp(icon).composite([{ input: circle(legacy), blend: 'dest-in' }])
      .png().toFile(path.join(folder, 'ic_launcher_round.png'))));
    jobs.push(foreground(layer).then((icon) => sharp(icon).toFile(path.join(folder, 'ic_launcher_foreground.png'))));
    jobs.push(foreground(layer).then(async (icon) => {
      const alpha = await sharp(icon).extractChannel(3).toBuffer();
      return sharp({ create: { width: layer, height: layer, channels: 3, background: '#ffffff' } })
        .joinChannel(alpha).png().toFile(path.join(folder, 'ic_launcher_monochrome.png'));
    }));
  }
  jobs.push(shown(512).then((icon) => sharp(icon).png().toFile(path.join(out, 'playstore.png'))));
  const xml = '<?xml version="1.0" encoding="utf-8"?>\n<adaptive-icon xmlns:android="http://schemas.android.com/apk/res/android">\n'
    + '    <background android:drawable="@color/ic_launcher_background"/>\n'
    + '    <foreground android:drawable="@mipmap/ic_launcher_foreground"/>\n'
    + '    <monochrome android:drawable="@mipmap/ic_launcher_monochrome"/>\n</adaptive-icon>\n';
  mkdirSync(path.join(out, 'mipmap-anydpi-v26'), { recursive: true });
  mkdirSync(path.join(out, 'values'), { recursive: true });
  writeFileSync(path.join(out, 'mipmap-anydpi-v26', 'ic_launcher.xml'), xml);
  writeFileSync(path.join(out, 'mipmap-anydpi-v26', 'ic_launcher_round.xml'), xml);
  writeFileSync(path.join(out, 'values', 'ic_launcher_background.xml'),
    '<?xml version="1.0" encoding="utf-8"?>\n<resources>\n    <color name="ic_launcher_background">#FFFFFF</color>\n</resources>\n');
} else {
  const { width: w, height: h } = await image.metadata();
  const scales = [['asset@1x.png', Math.floor(w / 3), Math.floor(h / 3)],
                  ['asset@2x.png', Math.floor(2 * w / 3), Math.floor(2 * h / 3)],
                  ['asset@3x.png', w, h]];
  jobs = scales.map(([name, sw, sh]) =>
    image.clone().resize(sw, sh, { fit: 'fill' }).png().toFile(path.join(out, name)));
}
await Promise.all(jobs);
