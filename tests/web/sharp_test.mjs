// Sharp pictures: at a device scale of 2 a spinner's canvas has twice the backing size of its
// CSS size (hidpi="false": the same) and its picture fills the whole canvas; the applet still
// sees its window in CSS pixels. In a worker the canvas is handed over: its backing size is
// asked of the worker.
//
//   node sharp_test.mjs --web <build>/web
import assert from 'node:assert/strict';
import { runBrowserTest, cases } from './browser.mjs';
import {
  page as makePage, parseArguments, stageSite, waitRunning, appletWindow, canvasFacts,
} from './support.mjs';

const options = parseArguments();
const site = stageSite(options.web, {
  // The picture is read back from the page's canvas: the applets stay on the page's thread.
  'sharp.html': makePage(
    '<qv-applet id="sharp" src="spinner.qva" width="160" height="120" thread="main"></qv-applet>' +
    '<qv-applet id="plain" src="spinner.qva" width="160" height="120" hidpi="false" thread="main">' +
    '</qv-applet>' +
    '<qv-applet id="sharp-worker" src="spinner.qva" width="160" height="120"></qv-applet>' +
    '<qv-applet id="plain-worker" src="spinner.qva" width="160" height="120" hidpi="false">' +
    '</qv-applet>'),
});
await runBrowserTest('web sharp', { root: site, width: 800, height: 600 }, async (browser) => {
  const tab = await browser.open();
  await tab.send('Emulation.setDeviceMetricsOverride',
                 { width: 800, height: 600, deviceScaleFactor: 2, mobile: false });
  await tab.goto('sharp.html');
  await cases([
    // applet, canvas pixels per CSS pixel
    { name: 'at a device scale of 2 the canvas has twice the backing size', id: 'sharp', scale: 2 },
    { name: 'hidpi="false" keeps one canvas pixel per CSS pixel', id: 'plain', scale: 1 },
    { name: 'in a worker too the canvas has twice the backing size', id: 'sharp-worker', scale: 2 },
    { name: 'in a worker hidpi="false" keeps one canvas pixel per CSS pixel', id: 'plain-worker',
      scale: 1 },
  ], async ({ id, scale }) => {
    await waitRunning(tab, `#${id}`);
    const window = await appletWindow(tab, `#${id}`);
    await tab.waitFor(`document.getElementById('${id}').qvApplet.firstFrame`);
    await new Promise((r) => setTimeout(r, 300));
    if (id.endsWith('-worker')) {
      assert.equal(await tab.eval(`document.getElementById('${id}').qvApplet.thread`), 'worker');
      assert.deepEqual(await tab.eval(`(async () => [await document.getElementById('${id}')
        .qvApplet.canvasSizes(), document.querySelector('${window}-canvas').clientWidth,
        document.querySelector('${window}-canvas').clientHeight])()`),
                       [[[160 * scale, 120 * scale]], 160, 120]);
      return;
    }
    assert.deepEqual(await canvasFacts(tab, window), [160 * scale, 120 * scale, 160, 120, true]);
  });
});
