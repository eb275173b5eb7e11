// Applets in workers: the page keeps its frames while a busy applet computes, input and message
// boxes cross between the page and the worker, and a page whose policy refuses workers still
// plays its applets on its own thread.
//
//   node worker_test.mjs --web <build>/web
import assert from 'node:assert/strict';
import fs from 'node:fs';
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
  // One WebGL context for the page: one spinner is beyond it (whichever asks second: they share
  // a worker), hello needs none.
  'limit.html': makePage(`<div id="first">${embed('one', 'spinner.qva')}</div>` +
                         `<div id="second">${embed('two', 'spinner.qva')}</div>` +
                         embed('hello', 'hello.qva'))
    .replace('<script src="qvapplet.js"></script>',
             '<script src="qvapplet.js"></script><script>QVApplets.config.maxWebGLContexts = 1;</script>'),
  'no-workers.html': makePage(embed('hello', 'hello.qva')).replace('<script></script>', ''),
  // An applet in a frame of the page's origin (no border: the frame's corner is the applet's).
  'inner.html': makePage(embed('hello', 'hello.qva')),
  'frame.html': makePage('<iframe src="inner.html" width="400" height="300" ' +
                         'style="border: 0; display: block"></iframe>'),
  // A browser that gives no WebGL context, to the page's canvases and to the workers' alike.
  'no-webgl.js': `if (typeof document === 'undefined')
      OffscreenCanvas.prototype.getContext = () => null;
    else { const get = HTMLCanvasElement.prototype.getContext;
      HTMLCanvasElement.prototype.getContext = function (type, ...rest) {
        return /webgl/.test(type) ? null : get.call(this, type, ...rest); }; }
    ${fs.readFileSync(`${options.web}/qvapplet.js`, 'utf8')}`,
  'no-webgl.html': makePage(embed('worker', 'spinner.qva') +
                            embed('main', 'spinner.qva', 'thread="main"'))
    .replace('qvapplet.js', 'no-webgl.js'),
  // A hostile bundle's worker, as the page hears it: messages of hello's worker, posted through
  // its record; the spinner (another worker) and the page's own element must stay as they are.
  'hostile.html': makePage(embed('hello', 'hello.qva') + embed('spinner', 'spinner.qva') +
                           '<p id="qvwin-99999">the page\'s</p>', `window.errors = [];
    addEventListener('error', (e) => e.message && errors.push(e.message), true);
    window.seen = [];
    addEventListener('qv-openurl', (e) => seen.push(e.detail.url) && e.preventDefault());
    // "huge" in a message stands for a text of a million characters, made here.
    const huge = 'x'.repeat(1 << 20);
    window.hostile = (messages) => { const r = document.querySelector('#hello').qvApplet;
      for (const data of JSON.parse(JSON.stringify(messages), (k, v) => (v === 'huge' ? huge : v)))
        r.worker.dispatchEvent(new MessageEvent('message',
                                                { data: { applet: r.number, ...data } }));
    };
    window.untouched = () => document.querySelector('#spinner + .qv-applet-area').outerHTML +
      document.getElementById('qvwin-99999').outerHTML;`),
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
        await waitRunning(page, '#hello');
        // One runs and the other has failed (an applet runs before it asks for its context): the
        // states of one and two, in that order.
        const states = await page.waitFor(`(() => {
          const s = ['#one', '#two'].map((q) => document.querySelector(q).qvApplet?.state);
          return s.includes('running') && s.includes('failed') && s.join(' '); })()`,
          { what: 'one spinner running and the other failed' });
        const [winner, loser, holder] = states === 'running failed'
          ? ['#one', '#two', 'first'] : ['#two', '#one', 'second'];
        assert.equal(await thread(page, winner), 'worker');
        assert.equal(await page.eval(`document.querySelector('${loser}').qvApplet.code`),
                     'QV-WEBGL-LIMIT');
        assert.equal(await page.eval('QVApplets[Symbol.for("QVApplets.page")].contexts'), 1);
        const running = await page.eval(`document.querySelector('${winner}').qvApplet.number`);
        await page.eval(`document.getElementById('${holder}').remove(); 1`);
        await page.waitFor(`QVApplets.get(${running}).state === 'ended'`);
        assert.equal(await page.eval('QVApplets[Symbol.for("QVApplets.page")].contexts'), 0);
        await page.send('Page.close').catch(() => {});
      } },
    { name: 'a worker touches only its own elements; what it sends malformed throws nothing',
      run: async () => {
        const page = await browser.open('hostile.html');
        await waitRunning(page, '#hello');
        const other = await waitRunning(page, '#spinner');
        // Its splash leaves with its first frame.
        await page.waitFor('document.querySelector("#spinner").qvApplet.firstFrame');
        await page.waitFor('!document.querySelector("#spinner + .qv-applet-area .qv-splash")');
        const before = await page.eval('untouched()');
        const made = '[...document.querySelectorAll(".qvui-window")].pop()';
        // message (or messages) from hello's worker ("huge": a million characters), what must
        // hold afterwards besides the spinner and the page's element as they were
        const table = [
          [{ op: 'ui', call: 'setText', args: [other, 'taken'] }],
          [{ op: 'ui', call: 'setVisible', args: [other, false, false] }],
          [{ op: 'ui', call: 'remove', args: [other] }],
          [{ op: 'ui', call: 'remove', args: [99999] }],
          [{ op: 'ui', call: 'create', args: [1, other, 0, 0, 10, 10, 0, 'in'] }],
          [{ op: 'ui', call: 'create', args: [1, 99999, 0, 0, 10, 10, 0, 'in'] }],
          [{ op: 'canvas', id: 99999, applet: other }],
          [{ op: 'ui', call: 'remove', args: [other], applet: other }],
          [[{ op: 'ui' }, { op: 'ui', call: 'remove', args: 5 }, { op: 'loaded', script: 'x' },
            { op: 'ui', call: 'create', args: [1, 0] }, { op: 'box' }, { op: 'no such op' },
            { op: 'ui', call: 'create', args: ['a', {}, null, [], '7', {}, 'red', {}] }]],
          [{ op: 'ui', call: 'create', args: [1, 0, 1e300, NaN, 1e12, -5, 0xff, 'huge'] },
           `(() => { const w = ${made}, c = w.firstElementChild;
              return parseFloat(w.style.left) <= 32768 && w.style.height === '0px' &&
                parseFloat(w.style.width) <= 32768 && c.width <= 65536 && c.height === 0 &&
                w.dataset.qvtext.length <= 65536; })()`],
          [[{ op: 'print', text: 'huge' },
            ...Array(5000).fill({ op: 'ui', call: 'setText', args: [1e9, 'flood'] })]],
          [[{ op: 'openURL', url: " \tJava\nScript:document.title='taken'", target: '_self' },
            { op: 'openURL', url: 'data:text/html,x' }, { op: 'openURL', url: {} }],
           'seen.length === 0 && document.title === "test"'],
          [Array.from({ length: 50 }, (_, i) => ({ op: 'box', number: 1000 + (i % 40),
                                                   text: 'huge', caption: 'huge', buttons: 9 })),
           `document.querySelectorAll('dialog[open]').length <= 4 &&
            [...document.querySelectorAll('dialog')].every((d) => d.textContent.length < 1 << 18)`],
          [{ op: 'unpacked', bytes: 1e300 },
           'QVApplets[Symbol.for("QVApplets.page")].unpacked < 1e9'],
          [{ op: 'failed', code: '__proto__', message: {} },
           'document.querySelector("#hello").qvApplet.state === "failed"'],
        ];
        for (const [messages, ...checks] of table) {
          const what = JSON.stringify(messages).slice(0, 120);
          await page.eval(`hostile(${JSON.stringify([messages].flat())}); 1`);
          for (const check of checks) assert.ok(await page.eval(check), `${what}: ${check}`);
          assert.equal(await page.eval('untouched()'), before, what);
          assert.deepEqual(await page.eval('errors'), [], what);
        }
        assert.deepEqual(page.console.filter((line) => /exception/.test(line)), []);
        assert.equal(await page.eval('document.querySelector("#spinner").qvApplet.state'),
                     'running');
        await page.send('Page.close').catch(() => {});
      } },
    { name: 'without WebGL an applet in a worker shows the panel of one on the page\'s thread',
      run: async () => {
        const page = await browser.open('no-webgl.html');
        const panel = (id) => `(() => { const r = document.querySelector('#${id}').qvApplet;
          return r.state === 'failed' && [r.thread, r.code, r.panel.innerText]; })()`;
        const inWorker = await page.waitFor(panel('worker'));
        const onPage = await page.waitFor(panel('main'));
        assert.deepEqual([inWorker[0], onPage[0]], ['worker', 'page']);
        assert.equal(inWorker[1], 'QV-NO-WEBGL');
        assert.deepEqual(inWorker.slice(1), onPage.slice(1));
        await page.send('Page.close').catch(() => {});
      } },
    { name: 'an applet in a frame of the page\'s origin runs in a worker and takes keys',
      run: async () => {
        const page = await browser.open('frame.html');
        const inner = 'document.querySelector("iframe").contentDocument?.querySelector("#hello")';
        assert.equal(await page.waitFor(`(() => { const r = ${inner}?.qvApplet;
          return r && r.state === 'running' && r.thread; })()`, { timeout: 60000 }), 'worker');
        // The applet's window fills its 320 x 240 area at the frame's corner.
        await page.click('iframe', { x: 200, y: 150 });
        await page.press('a');
        await page.waitFor(`${inner}.qvApplet.area.innerText.includes('Last key: 65')`,
                           { timeout: 10000 });
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
