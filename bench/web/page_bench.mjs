// Web benchmark (not a test): from navigation to the hello applet's first frame on a local
// server in headless Chromium (median of the runs; nothing cached between them), and the
// spinner applet's frames per second at 320 x 240 (frames it draws and frames the browser shows,
// over some seconds), and the CPU a hidden page of 4 spinners costs: held back (as applets out of
// sight are) and with background="run" (as every applet was before they were held back).
//
//   node bench/web/page_bench.mjs [--wasm build/wasm] [--runs 10] [--seconds 5]
//   node bench/web/page_bench.mjs --demo main|workers [--alone 1] [--wasm build/wasm] [--seconds 5]
//
// --demo plays the demo page (hello, spinner, gltfspinner and the ray-traced scene) with the
// applets on the page's thread or in workers, and prints the page's animation frames per second
// while they start, while the scene is traced and after, and the ray-traced scene's time to its
// full picture; --alone 1 plays the ray-traced scene alone.
//
// Needs the wasm build's staged demo folder (build/wasm/web).
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { launch, chromiumAvailable } from '../../tests/web/browser.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const options = { wasm: 'build/wasm', runs: '10', seconds: '5' };
const argv = process.argv.slice(2);
for (let i = 0; i + 1 < argv.length; i += 2) options[argv[i].replace(/^--/, '')] = argv[i + 1];
const web = path.resolve(root, options.wasm, 'web');
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Pages of their own beside the staged files. The counter of cleared frames is installed before
// the page script, so that it sees the applet's context.
const site = fs.mkdtempSync(path.join(os.tmpdir(), 'qv-page-bench-'));
for (const name of fs.readdirSync(web)) fs.symlinkSync(path.join(web, name), path.join(site, name));
const head = '<!DOCTYPE html><html><head><meta charset="utf-8"><style>body { margin: 0; }</style>';
fs.writeFileSync(path.join(site, 'bench-hello.html'), `${head}<script src="qvapplet.js"></script>
</head><body><embed id="a" type="application/qv-applet" src="hello.qva" width="320" height="200"></body></html>`);
// Frames drawn (the applet clears its WebGL canvas once a frame) and frames shown (animation
// frames of the browser that have a new drawing).
fs.writeFileSync(path.join(site, 'bench-frames.js'), `window.qvFrames = 0; window.qvShown = 0;
let drawn = 0;
const clear = WebGLRenderingContext.prototype.clear;
WebGLRenderingContext.prototype.clear = function (mask) { ++qvFrames; return clear.call(this, mask); };
const shown = () => { if (qvFrames !== drawn) { drawn = qvFrames; ++qvShown; } requestAnimationFrame(shown); };
requestAnimationFrame(shown);`);
fs.writeFileSync(path.join(site, 'bench-spinner.html'), `${head}<script src="bench-frames.js"></script>
<script src="qvapplet.js"></script></head><body>
<qv-applet id="a" src="spinner.qva" width="320" height="240"></qv-applet></body></html>`);
const spinners = (more) => `${head}<script src="qvapplet.js"></script></head><body>${
  Array.from({ length: 4 }, () => `<qv-applet src="spinner.qva" width="320" height="240" ${more}>` +
                                  '</qv-applet>').join('')}</body></html>`;
fs.writeFileSync(path.join(site, 'bench-hidden.html'), spinners(''));
fs.writeFileSync(path.join(site, 'bench-hidden-run.html'), spinners('background="run"'));

// CPU seconds (user + system) of every process of the browser's process group so far.
function groupCpuSeconds(group) {
  let ticks = 0;
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const fields = fs.readFileSync(`/proc/${entry}/stat`, 'utf8').split(') ')[1].split(' ');
      if (Number(fields[2]) === group) ticks += Number(fields[11]) + Number(fields[12]);
    } catch { /* the process ended meanwhile */ }
  }
  return ticks / 100;  // USER_HZ
}

// The browser's CPU per second and the page's main-thread busy time per second while the page
// of 4 spinners is hidden. Headless Chromium keeps its pages visible: the page is told it is
// hidden as a browser tells a tab in the background.
async function hiddenCost(browser, name, seconds) {
  const page = await browser.open(name);
  await page.waitFor(`QVApplets.all().length === 4 && QVApplets.all().every((r) => r.firstFrame)`,
                     { timeout: 60000 });
  await page.eval(`Object.defineProperty(document, 'visibilityState', { value: 'hidden' });
    document.dispatchEvent(new Event('visibilitychange')); 1`);
  await page.send('Performance.enable');
  await new Promise((r) => setTimeout(r, 1000));
  const busy = async () => (await page.send('Performance.getMetrics')).metrics
    .find((m) => m.name === 'TaskDuration').value;
  const [cpu, task, t] = [groupCpuSeconds(browser.process.pid), await busy(), Date.now()];
  await new Promise((r) => setTimeout(r, seconds * 1000));
  const elapsed = (Date.now() - t) / 1000;
  const result = [(groupCpuSeconds(browser.process.pid) - cpu) / elapsed,
                  (await busy() - task) / elapsed];
  await page.send('Page.close').catch(() => {});
  return result;
}

if (!chromiumAvailable()) {
  console.error('page_bench: no chromium');
  process.exit(1);
}

// The demo page as published, counting the page's animation frames from its start.
const demoPage = (workers) => (options.alone ? `${head}<script src="qvapplet.js"></script>` +
  '</head><body><embed id="rayscene" type="application/qv-applet" src="rayscene.qva" ' +
  'width="400" height="300"></body></html>' : fs.readFileSync(path.join(web, 'index.html'), 'utf8'))
  .replace('<script src="qvapplet.js"></script>', '<script>window.qvTicks = [];' +
           '(function tick(t) { qvTicks.push(t); requestAnimationFrame(tick); })(0);</script>' +
           '<script src="qvapplet.js"></script>' +
           (workers ? '' : '<script>QVApplets.config.workers = false;</script>'));
async function demo(browser, mode, seconds) {
  fs.writeFileSync(path.join(site, 'bench-demo.html'), demoPage(mode === 'workers'));
  const page = await browser.open('bench-demo.html');
  // The scene writes "complete <frames> <milliseconds>" when its picture is full.
  const read = `(async () => { const r = document.getElementById('rayscene').qvApplet;
    try { return r.readFile ? await r.readFile('rayscene-applet.txt')
      : r.module.FS.readFile(r.directory + '/rayscene-applet.txt', { encoding: 'utf8' }); }
    catch { return null; } })()`;
  const report = await page.waitFor(read, { timeout: 240000, interval: 100 });
  const complete = await page.eval('performance.now()');
  await page.waitFor('QVApplets.all().every((r) => r.firstFrame)', { timeout: 60000 });
  // Frames per second of the page: while the four start (to the last first frame), while the
  // scene is traced (from then to its full picture) and once it is full (the others still run).
  const rate = (from, to) => `qvTicks.filter((t) => t > ${from} && t <= ${to}).length * 1000 / ` +
    `(${to} - ${from})`;
  const started = await page.eval('Math.max(...QVApplets.all().map((r) => r.firstFrame))');
  const starting = await page.eval(rate(0, started));
  const tracing = complete > started + 500 ? await page.eval(rate(started, complete)) : NaN;
  const running = await page.eval(`new Promise((done) => { const n = qvTicks.length,
    t = performance.now(); setTimeout(() => done((qvTicks.length - n) * 1000 / (performance.now() - t)),
    ${seconds * 1000}); })`, { timeout: (seconds + 30) * 1000 });
  const inWorkers = await page.eval('QVApplets.all().filter((r) => r.worker).length');
  console.log(`${options.alone ? 'the ray-traced scene alone' : 'demo page'}, applets ${mode === 'workers' ? 'in workers' : 'on the page\'s thread'} ` +
              `(${inWorkers} in workers): animation frames per second ${starting.toFixed(1)} while ` +
              `they start, ${tracing.toFixed(1)} while the scene is traced, ${running.toFixed(1)} ` +
              `once it is full (over ${seconds} s); ray-traced ` +
              `scene full after ${complete.toFixed(0)} ms from navigation (${report.trim()})`);
  await page.send('Page.close').catch(() => {});
}

const browser = await launch({ root: site });
if (options.demo) {
  try {
    await demo(browser, options.demo, Number(options.seconds));
  } finally {
    await browser.close();
    fs.rmSync(site, { recursive: true, force: true });
  }
  process.exit(0);
}
try {
  const firstFrames = [];
  for (let run = 0; run < Number(options.runs); ++run) {
    const page = await browser.open('bench-hello.html');
    firstFrames.push(await page.waitFor('document.getElementById("a").qvApplet?.firstFrame',
                                        { timeout: 60000, interval: 10 }));
    await page.send('Page.close').catch(() => {});
  }
  const page = await browser.open('bench-spinner.html');
  await page.waitFor('document.getElementById("a").qvApplet?.firstFrame', { timeout: 60000 });
  const seconds = Number(options.seconds);
  // An applet in a worker counts its own frames; which of them were shown the page cannot tell.
  const [fps, shownFps, thread] = await page.eval(`(async () => {
    const r = document.getElementById('a').qvApplet;
    const drawn = () => (r.framesDrawn ? r.framesDrawn() : qvFrames);
    const start = [await drawn(), qvShown], t = performance.now();
    await new Promise((done) => setTimeout(done, ${seconds * 1000}));
    const counts = [await drawn() - start[0], qvShown - start[1]];
    return [...counts.map((n) => n * 1000 / (performance.now() - t)), r.thread]; })()`,
  { timeout: (seconds + 30) * 1000 });
  const list = firstFrames.map((t) => t.toFixed(0)).join(', ');
  console.log(`hello: navigation to first frame, median of ${firstFrames.length}: ` +
              `${median(firstFrames).toFixed(0)} ms (goal: at most 300) [${list}]`);
  console.log(`spinner 320 x 240 (${thread === 'worker' ? 'in a worker' : 'on the page\'s thread'}): ` +
              `${fps.toFixed(1)} frames drawn per second` + (thread === 'worker' ? '' : `, ` +
              `${shownFps.toFixed(1)} shown (the display's rate caps those)`) + `, over ${seconds} s`);
  console.log(`browser: ${await page.eval('navigator.userAgent')}`);
  await page.send('Page.close').catch(() => {});
  for (const [name, what] of [['bench-hidden-run.html', 'background="run"'],
                              ['bench-hidden.html', 'held back']]) {
    const [cpu, busy] = await hiddenCost(browser, name, seconds);
    console.log(`hidden page of 4 spinners, ${what}: browser CPU ${(cpu * 100).toFixed(1)}% of a ` +
                `core, page main thread busy ${(busy * 100).toFixed(1)}%, over ${seconds} s`);
  }
} finally {
  await browser.close();
  fs.rmSync(site, { recursive: true, force: true });
}
