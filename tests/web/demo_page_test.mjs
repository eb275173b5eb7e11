// The demo page in headless Chromium: its three applets start in their elements, the spinner
// turns, and the ray-traced scene shows what the desktop's qvrender traces.
//
//   node demo_page_test.mjs --web <build>/web --golden tests/renderers/raytracer/golden
//        [--qvrender <linux build>/bin/qvrender] [--artefacts <dir>]
//
// The reference for the traced scene is qvrender's image at the applet's size, traced in this
// run when the native qvrender is given and present; the stored qvrender image (golden) of
// 200 x 150 is compared with a second, 200 x 150 applet in any case.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { runBrowserTest, cases } from './browser.mjs';
import { compare, countColours, encodePng, readImage } from './image.mjs';
import {
  appletWindow, parseArguments, stageSite, waitAppletFile, waitRunning, saveArtefact,
} from './support.mjs';

const options = parseArguments();
// Same page, plus a small ray scene matching the stored reference.
const demo = fs.readFileSync(path.join(options.web, 'index.html'), 'utf8').replace('</body>',
  '<embed id="rayscene-small" type="application/qv-applet" src="rayscene.qva" width="200" height="150"></body>');
const site = stageSite(options.web, { 'index.html': demo });

// The traced scene's picture against qvrender's. The tracer's window draws every pixel's colour
// at the pixel's corner and OpenGL blends between neighbours, so the picture is qvrender's
// shifted by half a pixel: edges differ, surfaces agree.
const tolerance = { mean: 4, farShare: 0.04, threshold: 48 };
function checkAgainst(picture, reference, label) {
  const result = compare(picture, reference, { margin: 2, threshold: tolerance.threshold });
  const flipped = { ...reference, data: Buffer.alloc(reference.data.length) };
  const row = reference.width * 4;
  for (let y = 0; y < reference.height; ++y)
    reference.data.copy(flipped.data, y * row, (reference.height - 1 - y) * row,
                        (reference.height - y) * row);
  const wrong = compare(picture, flipped, { margin: 2, threshold: tolerance.threshold });
  console.log(`    ${label}: mean ${result.mean.toFixed(2)}, ${(result.farShare * 100).toFixed(2)} % ` +
              `beyond ${tolerance.threshold}, largest ${result.largest} ` +
              `(upside-down reference: mean ${wrong.mean.toFixed(2)})`);
  assert.ok(result.mean <= tolerance.mean && result.farShare <= tolerance.farShare,
            `${label}: the picture differs from qvrender's beyond the tolerance`);
  // The tolerance tells pictures apart: the reference upside down is refused.
  assert.ok(wrong.mean > tolerance.mean || wrong.farShare > tolerance.farShare);
}

async function tracedPicture(page, selector, name) {
  const report = await waitAppletFile(page, selector, 'rayscene-applet.txt', 240000);
  assert.match(report, /^complete \d+ [\d.]+/);
  // The last frame reaches the screen with the next animation frame.
  await page.eval('new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)))');
  const picture = await page.pixels(await appletWindow(page, selector));
  saveArtefact(options, `${name}.png`, encodePng(picture));
  return picture;
}

await runBrowserTest('web demo page', { root: site }, async (browser) => {
  const page = await browser.open('index.html');
  const applets = [
    { selector: '#hello', width: 320, height: 200 },
    { selector: '#spinner', width: 320, height: 240 },
    { selector: '#gltfspinner', width: 320, height: 240 },
    { selector: '#rayscene', width: 400, height: 300 },
    { selector: '#rayscene-small', width: 200, height: 150 },
  ];
  await cases([
    ...applets.map((a) => ({
      name: `${a.selector} runs in its element, ${a.width} x ${a.height}`,
      run: async () => {
        const number = await waitRunning(page, a.selector, 120000);
        const host = await page.box(`#qvwin-${number}`);
        assert.deepEqual([host.width, host.height], [a.width, a.height]);
        const window = await page.box(await appletWindow(page, a.selector));
        assert.deepEqual([window.x, window.y, window.width, window.height],
                         [host.x, host.y, a.width, a.height]);
        // The host element lies where the page put the applet.
        const inside = await page.eval(`document.querySelector('${a.selector}').qvApplet.area
          .contains(document.getElementById('qvwin-${number}'))`);
        assert.equal(inside, true);
      },
    })),
    { name: 'every applet has a host element of its own',
      run: async () => {
        const numbers = await page.eval('QVApplets.all().map((r) => r.number)');
        assert.equal(new Set(numbers).size, numbers.length);
      } },
    { name: 'hello shows its label and button',
      run: async () => {
        const text = await page.waitFor(`(() => { const t = document.querySelector('#hello')
          .qvApplet.area.innerText; return /Hello! Last key: none/.test(t) && /Open URL/.test(t) && t; })()`);
        assert.ok(text);
      } },
    { name: 'the spinner turns (two pictures a second apart differ, many colours)',
      run: async () => {
        const selector = await appletWindow(page, '#spinner');
        await new Promise((r) => setTimeout(r, 1500));
        const first = await page.pixels(selector);
        await new Promise((r) => setTimeout(r, 1000));
        const second = await page.pixels(selector);
        saveArtefact(options, 'spinner.png', encodePng(second));
        assert.ok(countColours(second) > 2, 'the spinner shows a flat picture');
        assert.ok(compare(first, second).largest > 0, 'the spinner stands still');
      } },
    { name: 'the glTF crate turns (two pictures a second apart differ, many colours)',
      run: async () => {
        const selector = await appletWindow(page, '#gltfspinner');
        await new Promise((r) => setTimeout(r, 1500));
        const first = await page.pixels(selector);
        await new Promise((r) => setTimeout(r, 1000));
        const second = await page.pixels(selector);
        saveArtefact(options, 'gltfspinner.png', encodePng(second));
        assert.ok(countColours(second) > 2, 'the crate shows a flat picture');
        assert.ok(compare(first, second).largest > 0, 'the crate stands still');
      } },
    { name: 'the small traced scene matches the stored qvrender image (200 x 150)',
      run: async () => {
        const picture = await tracedPicture(page, '#rayscene-small', 'rayscene-200x150');
        checkAgainst(picture, readImage(path.join(options.golden, 'demo-200x150.tga')),
                     'stored 200x150');
      } },
    { name: 'the traced scene matches qvrender traced now (400 x 300)',
      run: async () => {
        const picture = await tracedPicture(page, '#rayscene', 'rayscene-400x300');
        if (!options.qvrender || !fs.existsSync(options.qvrender)) {
          console.log(`    no native qvrender (${options.qvrender || 'not given'}): only the ` +
                      'stored reference was compared');
          return;
        }
        const output = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'qv-ref-')), 'ref.tga');
        const run = spawnSync(options.qvrender, ['--size', '400x300', '--output', output],
                              { encoding: 'utf8', timeout: 120000 });
        assert.equal(run.status, 0, `qvrender failed: ${run.stderr}`);
        const reference = readImage(output);
        fs.rmSync(path.dirname(output), { recursive: true, force: true });
        checkAgainst(picture, reference, 'qvrender 400x300');
      } },
  ], (c) => c.run());
});
