// The hello bundle in pages as sites publish them: the splash shows the bytes arriving until the
// first frame, autoplay="false" waits for a click, packages that are damaged or hold no applet
// for the web show their panels, and a page under a strict security policy plays 20 applets
// with the bundle found beside qvapplet.js and its code fetched once. And the player page plays
// a dropped package.
//
//   node page_test.mjs --web <build>/web
import assert from 'node:assert/strict';
import { runBrowserTest, cases } from './browser.mjs';
import { makeZip } from './zip.mjs';
import {
  page as makePage, parseArguments, stageSite, waitAppletFile, waitRunning,
} from './support.mjs';

const options = parseArguments();
const embed = (id, src, more = '') =>
  `<embed id="${id}" type="application/qv-applet" src="${src}" width="160" height="100" ${more}>`;
// Every text the splash shows, in order.
const recorder = `window.seen = [];
new MutationObserver(() => document.querySelectorAll('.qv-splash').forEach((s) => {
  if (seen[seen.length - 1] !== s.firstChild.textContent) seen.push(s.firstChild.textContent);
})).observe(document, { subtree: true, childList: true, characterData: true });`;
const policy = "script-src 'self' 'wasm-unsafe-eval'";
const site = stageSite(options.web, {
  'damaged.qva': 'no archive at all',
  'w32.qva': makeZip([{ name: 'qveapp.cfg', data: 'main_w32=helloapplet.dll\n' },
                      { name: 'helloapplet.dll', data: 'MZ' }]),
  'loading.html': makePage(embed('hello', 'hello.qva') + embed('click', 'hello.qva', 'autoplay="false"') +
                           embed('damaged', 'damaged.qva', 'bundle="hello"') +
                           embed('w32', 'w32.qva', 'bundle="hello"')).replace('<script', `<script>${recorder}</script><script`),
  // A browser without WebGL: the spinner's panel, and no message box of it over the page.
  // (The page's canvases stand for the browser: the applet stays on the page's thread.)
  'no-webgl.html': makePage(embed('spinner', 'spinner.qva', 'thread="main"')).replace('<script', `<script>
    HTMLCanvasElement.prototype.getContext = ((get) => function (type, ...rest) {
      return /webgl/.test(type) ? null : get.call(this, type, ...rest);
    })(HTMLCanvasElement.prototype.getContext);</script><script`),
  // No inline script at all: the policy would refuse it.
  'strict.html': makePage(Array.from({ length: 20 }, (_, i) => embed(`a${i}`, 'hello.qva')).join(''))
    .replace('<script></script>', ''),
});
const requests = [];
const serve = { log: requests,
                headers: (url) => (url.startsWith('/strict') ? { 'Content-Security-Policy': policy } : {}) };
const code = (tab, id) => tab.waitFor(`(() => { const r = document.getElementById('${id}').qvApplet;
  return r.state === 'failed' && r.area.querySelector('.qv-panel').dataset.qvCode; })()`);

await runBrowserTest('web pages', { root: site, serve }, async (browser) => {
  const tab = await browser.open('loading.html');
  await cases([
    { name: 'the splash shows the bytes arriving, then "Starting", and goes with the first frame',
      run: async () => {
        await waitRunning(tab, '#hello');
        await tab.waitFor(`document.getElementById('hello').qvApplet.firstFrame > 0`);
        const seen = await tab.eval('seen');
        assert.ok(seen.some((t) => /^Loading applet… \d+ KB of \d+ KB$/.test(t)), seen.join(' / '));
        assert.ok(seen.includes('Starting…'), seen.join(' / '));
        assert.equal(await tab.eval(`document.getElementById('hello').qvApplet.area
          .querySelector('.qv-splash')`), null);
      } },
    { name: 'autoplay="false": a play button, the applet starts on its click',
      run: async () => {
        assert.equal(await tab.eval(`document.getElementById('click').qvApplet.state`), 'waiting');
        await tab.click('#click + .qv-applet-area .qv-play');
        await waitRunning(tab, '#click');
      } },
    { name: 'a damaged package and one without an applet for the web show their panels',
      run: async () => {
        assert.equal(await code(tab, 'damaged'), 'QV-DAMAGED');
        assert.equal(await code(tab, 'w32'), 'QV-NO-WEB-APPLET');
      } },
    { name: 'no WebGL: the spinner\'s panel, no message box over the page',
      run: async () => {
        const bare = await browser.open('no-webgl.html');
        assert.equal(await code(bare, 'spinner'), 'QV-NO-WEBGL');
        await bare.waitFor(`document.getElementById('spinner').qvApplet.module.qvNoBoxes`);
        await bare.eval('new Promise((done) => setTimeout(done, 1000))');
        assert.equal(await bare.eval('document.querySelectorAll("dialog").length'), 0);
      } },
    { name: 'the player page plays a dropped package with the typed attributes',
      run: async () => {
        const player = await browser.open('player.html');
        await player.eval(`(async () => {
          document.getElementById('attributes').value = 'greeting=dropped';
          const files = new DataTransfer();
          files.items.add(new File([await (await fetch('hello.qva')).blob()], 'hello.qva'));
          document.getElementById('stage').dispatchEvent(new DragEvent('drop',
            { dataTransfer: files, bubbles: true, cancelable: true })); })()`);
        await waitRunning(player, '#stage qv-applet');
        assert.match(await waitAppletFile(player, '#stage qv-applet', 'hello-applet.txt'),
                     /^parameter greeting=dropped$/m);
      } },
  ], (c) => c.run());

  requests.length = 0;
  const strict = await browser.open('strict.html');
  await cases([
    { name: 'a strict policy: 20 applets play, the bundle beside the script, its code fetched once',
      run: async () => {
        for (let i = 0; i < 20; ++i) await waitRunning(strict, `#a${i}`);
        assert.equal(requests.filter((r) => r.path === '/hello.wasm').length, 1);
        assert.equal(requests.filter((r) => r.path === '/hello.js').length, 1);
      } },
    { name: 'nothing refused by the policy, nothing uncaught',
      run: async () => {
        for (const page of [tab, strict])
          assert.deepEqual(page.console.filter((l) => /^exception|Content Security Policy/.test(l)), []);
      } },
  ], (c) => c.run());
});
