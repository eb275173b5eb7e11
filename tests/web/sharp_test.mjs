// Sharp pictures: at a device scale of 2 a spinner's canvas has twice the backing size of its
// CSS size (hidpi="false": the same) and its picture fills the whole canvas; the applet still
// sees its window in CSS pixels.
//
//   node sharp_test.mjs --web <build>/web
import assert from 'node:assert/strict';
import { runBrowserTest, cases } from './browser.mjs';
import { page as makePage, parseArguments, stageSite, waitRunning, appletWindow } from './support.mjs';

const options = parseArguments();
const site = stageSite(options.web, {
  'sharp.html': makePage(
    '<qv-applet id="sharp" src="spinner.qva" width="160" height="120"></qv-applet>' +
    '<qv-applet id="plain" src="spinner.qva" width="160" height="120" hidpi="false"></qv-applet>'),
});
// The canvas's backing and CSS sizes, and whether the model shows at the canvas's centre (a
// viewport left in CSS pixels would draw it about the centre of the lower left quarter).
const facts = (window) => `(() => {
  const gl = document.querySelector('${window}-canvas');
  const copy = document.createElement('canvas');
  copy.width = gl.width; copy.height = gl.height;
  const c = copy.getContext('2d');
  c.drawImage(gl, 0, 0);
  const at = (x, y) => Array.from(c.getImageData(x, y, 1, 1).data).join();
  const w = gl.width, h = gl.height;
  return [w, h, gl.clientWidth, gl.clientHeight, at(w >> 1, h >> 1) !== at(1, 1)]; })()`;

await runBrowserTest('web sharp', { root: site, width: 800, height: 600 }, async (browser) => {
  const tab = await browser.open();
  await tab.send('Emulation.setDeviceMetricsOverride',
                 { width: 800, height: 600, deviceScaleFactor: 2, mobile: false });
  await tab.goto('sharp.html');
  await cases([
    // applet, canvas pixels per CSS pixel
    { name: 'at a device scale of 2 the canvas has twice the backing size', id: 'sharp', scale: 2 },
    { name: 'hidpi="false" keeps one canvas pixel per CSS pixel', id: 'plain', scale: 1 },
  ], async ({ id, scale }) => {
    await waitRunning(tab, `#${id}`);
    const window = await appletWindow(tab, `#${id}`);
    await tab.waitFor(`document.getElementById('${id}').qvApplet.firstFrame`);
    await new Promise((r) => setTimeout(r, 300));
    assert.deepEqual(await tab.eval(facts(window)), [160 * scale, 120 * scale, 160, 120, true]);
  });
});
