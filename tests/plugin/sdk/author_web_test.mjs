// The author's applets built with the web SDK, in headless Chromium: the counter runs and counts a
// click; the applet that forgets its loop shows the module it could not load and its early end in
// the element's state messages.
//
//   node author_web_test.mjs --web <folder with the bundles, the packages and qvapplet.js>
import assert from 'node:assert/strict';
import { runBrowserTest } from '../../web/browser.mjs';
import { appletWindow, page as makePage, parseArguments, stageSite, waitRunning } from
  '../../web/support.mjs';

const options = parseArguments();
const body = `
<embed id="counter" type="application/qv-applet" src="counter.qva" width="320" height="200">
<embed id="quitter" type="application/qv-applet" src="quitter.qva" width="100" height="100">`;
const script = `
window.states = [];
document.addEventListener('qv-applet', (event) => {
  states.push({ id: event.target.id, state: event.detail.state, message: event.detail.message });
});`;
const site = stageSite(options.web, { 'author.html': makePage(body, script) });
const areaText = (page) => page.eval(
  `document.querySelector('#counter').qvApplet.area.innerText`);

await runBrowserTest('web author applets', { root: site }, async (browser) => {
  const page = await browser.open('author.html');
  await waitRunning(page, '#counter');
  await page.waitFor(`document.querySelector('#counter').qvApplet.area.innerText
    .includes('Clicks: 0  Keys: 0')`, { what: 'the counter label' });
  // The button lies at (10, 10), 100 x 30, in the applet's window.
  await page.click(await appletWindow(page, '#counter'), { x: 50, y: 25 });
  await page.waitFor(`document.querySelector('#counter').qvApplet.area.innerText
    .includes('Clicks: 1')`, { what: 'the click counted' });
  assert.match(await areaText(page), /Clicks: 1 {2}Keys: 0/);

  await page.waitFor(`document.querySelector('#quitter').qvApplet.state === 'ended'`,
                     { what: 'the quitter to end' });
  const states = (await page.eval('JSON.stringify(states)'));
  const quitter = JSON.parse(states).filter((entry) => entry.id === 'quitter');
  assert.ok(quitter.some((entry) => entry.state === 'running' &&
    /the module qvnosuchmodule\.qvm could not be loaded: qvnosuchmodule\.qvm was not found/
      .test(entry.message)), `no module failure among ${states}`);
  const last = quitter[quitter.length - 1];
  assert.equal(last.state, 'ended');
  assert.match(last.message, /Run returned while its window was still open/);
});
