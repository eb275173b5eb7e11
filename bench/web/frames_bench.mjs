// Web benchmark (not a test): frames per second of the frame-rate benchmark's scenes drawn by the
// OpenGL renderer module through the web GL layer into a 400 x 300 canvas of headless Chromium
// (its software WebGL), each a fixed number of frames timed up to the last frame read back, and
// the reference (the same triangles in one vertex-array draw per frame) taking turns with it.
// A plain WebGL draw of as many small triangles as (a) shows what the browser's WebGL allows at
// most. With --linux, the native FrameRateBench of that build runs first on the display in $DISPLAY
// (Xvfb and Mesa's llvmpipe under tools/display.sh) and the table gives web / desktop.
//
//   node bench/web/frames_bench.mjs [--wasm build/wasm] [--rounds 3] [--linux build/linux]
//
// Needs the wasm build's bench-web folder (the webframebench target).
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { launch, chromiumAvailable } from '../../tests/web/browser.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const options = { wasm: 'build/wasm', rounds: '3', linux: '' };
const argv = process.argv.slice(2);
for (let i = 0; i + 1 < argv.length; i += 2) options[argv[i].replace(/^--/, '')] = argv[i + 1];
const folder = path.resolve(root, options.wasm, 'bench-web');
const rounds = Math.max(1, Number(options.rounds));
const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const names = ['(a) sheet, 65535 faces', '(b) spinner cube', '(c) demo scene'];

// The native table: ours and the reference per scene, by name.
function desktop() {
  const bin = path.resolve(root, options.linux, 'bin');
  const result = spawnSync(path.join(bin, 'FrameRateBench'), [String(rounds)],
                           { cwd: bin, encoding: 'utf8', timeout: 600000 });
  if (result.status !== 0) throw new Error(`FrameRateBench failed: ${result.stderr}`);
  const rows = {};
  for (const line of result.stdout.split('\n')) {
    const name = names.find((n) => line.startsWith(n));
    if (!name) continue;
    const fields = line.slice(name.length).trim().split(/\s+/).map(Number);
    rows[name] = { ours: fields[2], reference: fields[3] };
  }
  return { rows, gl: (/^GL: (.*)$/m.exec(result.stdout) || [])[1] };
}

async function web() {
  if (!fs.existsSync(path.join(folder, 'webframebench.js')))
    throw new Error(`no webframebench in ${folder} (build the wasm preset's webframebench)`);
  const browser = await launch({ root: folder });
  try {
    const page = await browser.open('frames.html');
    await page.waitFor('!!window.bench || !!window.benchError', { timeout: 120000 });
    const error = await page.eval('window.benchError || ""');
    if (error) throw new Error(error);
    const rows = names.map(() => ({ ours: [], reference: [] }));
    // The rounds alternate ours and the reference, as the desktop benchmark does.
    for (let round = 0; round < rounds; ++round) {
      for (let scene = 0; scene < names.length; ++scene) {
        for (const [key, reference] of [['ours', 0], ['reference', 1]]) {
          rows[scene][key].push(await page.eval(`bench._QVFrameBenchRound(${scene}, ${reference})`,
                                                { timeout: 600000 }));
          rows[scene][`${key}Covered`] = await page.eval(`bench._QVFrameBenchInfo(${scene}, 2)`);
        }
      }
    }
    const info = await page.eval(`[0, 1, 2].map((s) => [bench._QVFrameBenchInfo(s, 0),
                                                         bench._QVFrameBenchInfo(s, 1)])`);
    const gl = await page.eval(`(() => { const c = document.createElement('canvas').getContext('webgl');
      const d = c.getExtension('WEBGL_debug_renderer_info');
      return d ? c.getParameter(d.UNMASKED_RENDERER_WEBGL) : c.getParameter(c.RENDERER); })()`);
    const plain = [];
    for (let round = 0; round < rounds; ++round)
      plain.push(await page.eval(`plainDraw(${info[0][0]}, ${info[0][1]})`, { timeout: 600000 }));
    return { rows, info, gl, plain: median(plain), userAgent: await page.eval('navigator.userAgent') };
  } finally {
    await browser.close();
  }
}

if (!chromiumAvailable()) {
  console.error('frames_bench: no chromium');
  process.exit(1);
}
const native = options.linux ? desktop() : null;
const w = await web();
const pad = (text, width) => String(text).padStart(width);
console.log(`web: ${w.gl}; ${w.userAgent}`);
if (native) console.log(`desktop: ${native.gl}`);
console.log(`400x300, median of ${rounds} rounds; frames per second`);
console.log(`${'scene'.padEnd(24)} ${pad('triangles', 9)} ${pad('frames', 6)} ${pad('web', 8)} ` +
            `${pad('web ref', 8)} ${pad('web px', 7)} ${pad('ref px', 7)}` +
            (native ? ` ${pad('desktop', 8)} ${pad('desk ref', 8)} ${pad('web/desk', 8)}` : ''));
names.forEach((name, scene) => {
  const row = w.rows[scene];
  const ours = median(row.ours);
  let line = `${name.padEnd(24)} ${pad(w.info[scene][0], 9)} ${pad(w.info[scene][1], 6)} ` +
             `${pad(ours.toFixed(1), 8)} ${pad(median(row.reference).toFixed(1), 8)} ` +
             `${pad(row.oursCovered, 7)} ${pad(row.referenceCovered, 7)}`;
  if (native) {
    const d = native.rows[name] || { ours: 0, reference: 0 };
    line += ` ${pad(d.ours.toFixed(1), 8)} ${pad(d.reference.toFixed(1), 8)} ` +
            `${pad(d.ours > 0 ? (ours / d.ours).toFixed(3) : '-', 8)}`;
  }
  console.log(line);
});
console.log(`plain WebGL, as many small triangles as (a) from a static buffer with a trivial shader: ` +
            `${w.plain.toFixed(1)} fps (what the browser's WebGL allows at most)`);
console.log('Goal: web / desktop >= 0.5 for (a) and (b); the spinner at 60 fps or more.');
