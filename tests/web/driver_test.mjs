// The browser test driver against a fixture page: served files and refused paths, waiting,
// script, trusted key presses and clicks, pixels of a 2D and a WebGL canvas, and that nothing
// of the browser is left behind.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { runBrowserTest, cases } from './browser.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
let leftBehind = null;

const passed = await runBrowserTest('driver', { root: path.join(here, 'fixtures') }, async (browser) => {
  const page = await browser.open('driver.html');
  await page.waitFor('document.title === "ready"');
  leftBehind = { pid: browser.process.pid, profile: browser.profile };

  await cases([
    { name: 'served file, missing file and a path outside the folder',
      run: async () => {
        const status = await page.eval(`Promise.all(['driver.html', 'nothing.html', '..%2f..%2fbrowser.mjs', '%2e%2e/browser.mjs']
          .map((p) => fetch(p).then((r) => r.status)))`);
        assert.equal(status[0], 200);
        assert.equal(status[1], 404);
        assert.ok(status[2] >= 400 && status[3] >= 400, `outside paths answered ${status}`);
      } },
    { name: 'a wait that never comes true ends at its bound',
      run: async () => {
        const start = Date.now();
        await assert.rejects(page.waitFor('false', { timeout: 300 }), /timed out after 300 ms/);
        assert.ok(Date.now() - start < 5000);
      } },
    { name: 'script errors are reported',
      run: () => assert.rejects(page.eval('nosuchname.x'), /nosuchname/) },
    { name: 'keys arrive as trusted events with their virtual-key codes',
      run: async () => {
        await page.click('#field');
        for (const key of ['a', 'Z', '7', 'Enter', 'ArrowUp', 'Space']) await page.press(key);
        const keys = await page.eval('keys');
        assert.deepEqual(keys.map((k) => k.keyCode), [65, 90, 55, 13, 38, 32]);
        assert.ok(keys.every((k) => k.trusted));
        // Up moves the caret to the start of the one-line field, before the space is typed.
        assert.equal(await page.eval('document.getElementById("field").value'), ' aZ7');
      } },
    { name: 'clicks arrive where they were aimed',
      run: async () => {
        await page.clickAt(300, 300);
        const last = (await page.eval('clicks')).pop();
        assert.deepEqual(last, { x: 300, y: 300, trusted: true });
      } },
    { name: '2D canvas pixels',
      run: async () => {
        const image = await page.pixels('#flat');
        assert.equal(image.width, 100);
        assert.equal(image.height, 50);
        const at = (x, y) => [...image.data.subarray((y * 100 + x) * 4, (y * 100 + x) * 4 + 3)];
        assert.deepEqual(at(10, 25), [255, 0, 0]);
        assert.deepEqual(at(90, 25), [0, 255, 0]);
      } },
    { name: 'WebGL canvas pixels (SwiftShader)',
      run: async () => {
        assert.equal(await page.eval('hasWebGL'), true);
        const image = await page.pixels('#gl');
        assert.deepEqual([...image.data.subarray(32 * 4 * 64 + 32 * 4, 32 * 4 * 64 + 32 * 4 + 3)],
                         [0, 0, 255]);
      } },
  ], (c) => c.run());
});

// After close(): no process of chromium's group and no profile folder remain.
// Killed helpers may take a moment to be reaped.
if (passed) {
  const groupAlive = () => {
    try { process.kill(-leftBehind.pid, 0); return true; } catch { return false; }
  };
  for (let i = 0; i < 50 && groupAlive(); ++i) await new Promise((r) => setTimeout(r, 100));
  if (groupAlive() || fs.existsSync(leftBehind.profile)) {
    console.error('driver: FAILED, chromium or its profile outlived close()');
    process.exitCode = 1;
  }
}
