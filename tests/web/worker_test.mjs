// Applets in workers: the page keeps its frames while a busy applet computes, input and message
// boxes cross between the page and the worker, and a page whose policy refuses workers still
// plays its applets on its own thread.
//
//   node worker_test.mjs --web <build>/web
import assert from 'node:assert/strict';
import { runBrowserTest, cases } from './browser.mjs';
import { makeZip } from './zip.mjs';
import { appletWindow, page as makePage, parseArguments, stageSite, waitRunning } from './support.mjs';

const options = parseArguments();
const embed = (id, src, more = '') =>
  `<embed id="${id}" type="application/qv-applet" src="${src}" width="320" height="240" ${more}>`;
// The page's own animation frames, counted from its start.
const ticks = 'window.ticks = []; (function tick(t) { ticks.push(t); requestAnimationFrame(tick); })(0);';
const site = stageSite(options.web, {
  'busy.html': makePage(embed('scene', 'rayscene.qva') + embed('spinner', 'spinner.qva') +
                        embed('hello', 'hello.qva'), ticks),
  // A spinner without its model: it says so in a message box, then ends.
  'no-model.qva': makeZip([{ name: 'qveapp.cfg', data: 'main_web=spinnerapplet.qvm\n' },
                           { name: 'spinnerapplet.qvm', data: 'compiled into the bundle\n' }]),
  'box.html': makePage(embed('broken', 'no-model.qva', 'bundle="spinner"')),
  // One WebGL context for the page: the second spinner is beyond it, hello needs none.
  'limit.html': makePage(`<div id="first">${embed('one', 'spinner.qva')}</div>` +
                         embed('two', 'spinner.qva') + embed('hello', 'hello.qva'))
    .replace('<script src="qvapplet.js"></script>',
             '<script src="qvapplet.js"></script><script>QVApplets.config.maxWebGLContexts = 1;</script>'),
  'no-workers.html': makePage(embed('hello', 'hello.qva')).replace('<script></script>', ''),
});
const serve = {
  headers: (url) => (url.startsWith('/no-workers') ? {
    'Content-Security-Policy': "script-src 'self' 'wasm-unsafe-eval'; worker-src 'none'",
  } : {}),
};
const thread = (tab, selector) => tab.eval(`document.querySelector('${selector}').qvApplet.thread`);
// The least the page must draw per second while the scene is traced (on the page's thread the
// demo page draws 6 to 10).
const leastFramesPerSecond = 30;

await runBrowserTest('web workers', { root: site, serve }, async (browser) => {
  await cases([
    { name: 'the page keeps its frames while the traced scene computes in its worker',
      run: async () => {
        const page = await browser.open('busy.html');
        for (const id of ['#scene', '#spinner', '#hello']) {
          await waitRunning(page, id);
          assert.equal(await thread(page, id), 'worker');
        }
        // Meanwhile the spinner draws no more frames than the page shows.
        const spinner = 'document.querySelector("#spinner").qvApplet.framesDrawn()';
        const [frames, drawn] = await page.eval(`(async () => { const n = ticks.length,
          d = await ${spinner}; await new Promise((r) => setTimeout(r, 3000));
          return [ticks.length - n, await ${spinner} - d]; })()`);
        assert.equal(await page.eval('document.querySelector("#scene").qvApplet.state'), 'running');
        assert.ok(frames >= 3 * leastFramesPerSecond,
                  `the page drew ${frames} frames in 3 s while the scene was traced`);
        assert.ok(drawn <= frames + 10, `the spinner drew ${drawn} frames, the page ${frames}`);
        // A click gives the hello applet the focus; its key reaches the worker and its label.
        await page.click(await appletWindow(page, '#hello'), { x: 200, y: 150 });
        await page.press('a');
        await page.waitFor(`document.querySelector('#hello').qvApplet.area.innerText
          .includes('Last key: 65')`, { timeout: 10000 });
        await page.send('Page.close').catch(() => {});
      } },
    { name: 'the worker\'s message box shows in the page and its answer reaches the applet',
      run: async () => {
        const page = await browser.open('box.html');
        await waitRunning(page, '#broken');
        assert.equal(await thread(page, '#broken'), 'worker');
        const text = await page.waitFor(`(() => { const d = document.querySelector('dialog[open]');
          return d && d.textContent; })()`);
        assert.match(text, /The spinner cannot start/);
        await page.click('dialog[open] button[data-result="1"]');
        await page.waitFor('document.querySelector("#broken").qvApplet.state === "ended"');
        assert.equal(await page.eval('!!document.querySelector("dialog[open]")'), false);
        await page.send('Page.close').catch(() => {});
      } },
    { name: 'the page counts the workers\' WebGL contexts; an applet removed from the page ends',
      run: async () => {
        const page = await browser.open('limit.html');
        const one = await waitRunning(page, '#one');
        await waitRunning(page, '#hello');
        assert.equal(await thread(page, '#one'), 'worker');
        assert.equal(await page.waitFor(`(() => { const r = document.querySelector('#two').qvApplet;
          return r.state === 'failed' && r.code; })()`), 'QV-WEBGL-LIMIT');
        assert.equal(await page.eval('QVApplets[Symbol.for("QVApplets.page")].contexts'), 1);
        await page.eval('document.getElementById("first").remove(); 1');
        await page.waitFor(`QVApplets.get(${one}).state === 'ended'`);
        assert.equal(await page.eval('QVApplets[Symbol.for("QVApplets.page")].contexts'), 0);
        await page.send('Page.close').catch(() => {});
      } },
    { name: 'a page whose policy refuses workers plays its applets on its own thread',
      run: async () => {
        const page = await browser.open('no-workers.html');
        await waitRunning(page, '#hello');
        assert.equal(await thread(page, '#hello'), 'page');
        await page.click(await appletWindow(page, '#hello'), { x: 200, y: 150 });
        await page.press('a');
        await page.waitFor(`document.querySelector('#hello').qvApplet.area.innerText
          .includes('Last key: 65')`, { timeout: 10000 });
      } },
  ], (c) => c.run());
});
