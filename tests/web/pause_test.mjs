// Applets out of sight are held back: a spinner scrolled out of view, or in a hidden page, draws
// no frame until it is seen again; background="run" keeps one drawing. Frames are counted as the
// WebGL clears of each applet's canvases.
//
//   node pause_test.mjs --web <build>/web
import assert from 'node:assert/strict';
import { runBrowserTest, cases } from './browser.mjs';
import { page as makePage, parseArguments, stageSite, waitRunning } from './support.mjs';

const options = parseArguments();
const spinner = (id, more = '') =>
  `<qv-applet id="${id}" src="spinner.qva" width="160" height="120" ${more}></qv-applet>`;
// Counts frames per applet; hidden() makes the page's visibility what the browser would report
// for a tab in the background (headless Chromium keeps its pages visible).
const counter = `window.frames_ = {};
WebGLRenderingContext.prototype.clear = ((clear) => function (mask) {
  const area = this.canvas.closest('.qv-applet-area');
  if (area) frames_[area.dataset.qvNumber] = (frames_[area.dataset.qvNumber] || 0) + 1;
  return clear.call(this, mask);
})(WebGLRenderingContext.prototype.clear);
window.hidden = (yes) => {
  Object.defineProperty(document, 'visibilityState', { value: yes ? 'hidden' : 'visible',
                                                        configurable: true });
  document.dispatchEvent(new Event('visibilitychange'));
};`;
const site = stageSite(options.web, {
  'pause.html': makePage(spinner('near') + spinner('runs', 'background="run"') +
                         `<div style="height: 3000px"></div>` + spinner('far'))
    .replace('<script src', `<script>${counter}</script><script src`),
});
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

await runBrowserTest('web pause', { root: site, width: 800, height: 600 }, async (browser) => {
  const tab = await browser.open('pause.html');
  for (const id of ['near', 'runs', 'far']) await waitRunning(tab, `#${id}`);
  // Frames each applet drew in 400 ms.
  const drawn = async () => {
    // (An applet in a worker counts its own.)
    const count = `Promise.all(['near', 'runs', 'far'].map((id) => {
      const r = document.getElementById(id).qvApplet;
      return r.framesDrawn ? r.framesDrawn() : frames_[r.number] || 0; }))`;
    const before = await tab.eval(count);
    await sleep(400);
    return (await tab.eval(count)).map((n, i) => n - before[i]);
  };
  const paused = () => tab.eval(`['near', 'runs', 'far'].map((id) =>
    document.getElementById(id).hasAttribute('data-qv-paused'))`);
  await cases([
    // what happens, then which applets draw: near, runs, far
    { name: 'in view draw, out of view rest', act: '1', draws: [true, true, false] },
    { name: 'scrolled to the far one: it draws, the near ones rest but for background="run"',
      act: 'document.getElementById("far").scrollIntoView()', draws: [false, true, true] },
    { name: 'a hidden page: only background="run" draws', act: 'hidden(true)',
      draws: [false, true, false] },
    { name: 'visible again, scrolled back: the near one draws again at once',
      act: 'hidden(false); scrollTo(0, 0)', draws: [true, true, false] },
  ], async ({ act, draws }) => {
    await tab.eval(`${act}; 1`);
    await sleep(200);  // the observers tell, the loops see it
    const frames = await drawn();
    assert.deepEqual(frames.map((n) => n > 0), draws, `frames ${frames}`);
    assert.deepEqual(await paused(), draws.map((d) => !d));
  });
});
