// Web benchmark (not a test): the demonstration scene's trace at 800 x 600 in a page of headless
// Chromium (wasm, one thread) against the native qvrender on one thread, in the same run, and
// the gzipped sizes of the applet bundles.
//
//   node bench/web/trace_bench.mjs [--wasm build/wasm] [--linux build/linux] [--size 800x600]
//                                  [--runs 7]
//
// Needs the wasm build (webtracebench, the demo page's bundles) and the Linux build's qvrender.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { fileURLToPath } from 'node:url';
import { launch, chromiumAvailable } from '../../tests/web/browser.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const options = { wasm: 'build/wasm', linux: 'build/linux', size: '800x600', runs: '7' };
const argv = process.argv.slice(2);
for (let i = 0; i + 1 < argv.length; i += 2) options[argv[i].replace(/^--/, '')] = argv[i + 1];
const wasmBuild = path.resolve(root, options.wasm);
const linuxBuild = path.resolve(root, options.linux);
const [width, height] = options.size.split('x').map(Number);
const runs = Number(options.runs);

const best = (values) => Math.min(...values);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// One native run: milliseconds and the image.
function nativeRun(qvrender, output) {
  const result = spawnSync(qvrender, ['--size', options.size, '--threads', '1', '--output', output],
                           { encoding: 'utf8' });
  const match = /traced in ([\d.]+) s/.exec(result.stdout);
  if (result.status !== 0 || !match) throw new Error(`qvrender failed: ${result.stderr}`);
  return Number(match[1]) * 1000;
}

// The two take turns, so that whatever else the machine does weighs on both alike. The page's
// first trace only warms up its compiler (the browser compiles the hot code again, optimised).
async function measure() {
  const qvrender = path.join(linuxBuild, 'bin', 'qvrender');
  if (!fs.existsSync(qvrender)) throw new Error(`no native qvrender at ${qvrender}`);
  const folder = path.join(wasmBuild, 'bench-web');
  if (!fs.existsSync(path.join(folder, 'webtracebench.js')))
    throw new Error(`no webtracebench in ${folder} (build the wasm preset)`);
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'qv-bench-'));
  const output = path.join(scratch, 'native.tga');
  const browser = await launch({ root: folder });
  try {
    const page = await browser.open('trace.html');
    await page.waitFor('!!window.bench', { timeout: 60000 });
    const trace = `bench._QVBenchTrace(${width}, ${height})`;
    const warmUp = await page.eval(trace, { timeout: 900000 });
    const native = [], web = [];
    for (let run = 0; run < runs; ++run) {
      native.push(nativeRun(qvrender, output));
      web.push(await page.eval(trace, { timeout: 900000 }));
    }
    const webImage = Buffer.from(await page.eval(
      'btoa(Array.from(bench.FS.readFile("/trace.tga"), (b) => String.fromCharCode(b)).join(""))'),
      'base64');
    const userAgent = await page.eval('navigator.userAgent');
    return { native, web, warmUp, identical: Buffer.compare(fs.readFileSync(output), webImage) === 0,
             userAgent };
  } finally {
    await browser.close();
    fs.rmSync(scratch, { recursive: true, force: true });
  }
}

function bundleSizes() {
  const web = path.join(wasmBuild, 'web');
  const rows = [];
  for (const applet of ['hello', 'spinner', 'rayscene']) {
    const files = ['js', 'wasm'].map((e) => path.join(web, `${applet}.${e}`));
    if (!files.every((f) => fs.existsSync(f))) continue;
    const raw = files.map((f) => fs.statSync(f).size);
    const gzipped = files.map((f) => zlib.gzipSync(fs.readFileSync(f), { level: 9 }).length);
    const qva = path.join(web, `${applet}.qva`);
    rows.push({ applet, js: raw[0], wasm: raw[1], jsGz: gzipped[0], wasmGz: gzipped[1],
                qva: fs.existsSync(qva) ? fs.statSync(qva).size : 0 });
  }
  return rows;
}

if (!chromiumAvailable()) {
  console.error('trace_bench: no chromium');
  process.exit(1);
}
const m = await measure();
const list = (values) => values.map((t) => t.toFixed(1)).join(', ');
console.log(`demo scene ${options.size}, one thread, ${runs} runs each, taking turns (ms)`);
console.log(`  native qvrender   best ${best(m.native).toFixed(1)}  median ${median(m.native).toFixed(1)}  [${list(m.native)}]`);
console.log(`  wasm in Chromium  best ${best(m.web).toFixed(1)}  median ${median(m.web).toFixed(1)}  [${list(m.web)}] (first trace, not counted: ${m.warmUp.toFixed(1)})`);
console.log(`  ratio wasm/native: best ${(best(m.web) / best(m.native)).toFixed(2)}, median ${(median(m.web) / median(m.native)).toFixed(2)} (goal: at most 2)`);
console.log(`  images ${m.identical ? 'identical byte for byte' : 'DIFFER'}`);
console.log(`  browser: ${m.userAgent}`);
const kb = (n) => `${(n / 1024).toFixed(1)} KB`;
console.log('bundle sizes (gzip -9)');
for (const r of bundleSizes()) {
  console.log(`  ${r.applet.padEnd(9)} js ${kb(r.js)} → ${kb(r.jsGz)}, wasm ${kb(r.wasm)} → ${kb(r.wasmGz)}, ` +
              `together ${kb(r.jsGz + r.wasmGz)} gzipped; package ${kb(r.qva)}`);
}
