// The hello sample in a page of its own, twice (one bundle, two instances): the parameters it
// gets, keys pressed in the page, and its OpenURL through the page's handler or the browser.
//
//   node hello_test.mjs --web <build>/web
import assert from 'node:assert/strict';
import { runBrowserTest, cases } from './browser.mjs';
import {
  appletWindow, page as makePage, parseArguments, readAppletFile, stageSite, waitAppletFile,
  waitRunning,
} from './support.mjs';

const options = parseArguments();
const body = `
<embed id="handled" type="application/qv-applet" src="hello.qva" width="320" height="200"
       colour="red" @temp_path="/somewhere/else" empty="">
<qv-applet id="plain" src="hello.qva" bundle="hello" width="300" height="180"></qv-applet>`;
// The first applet's requests are taken by the page; the second's go to window.open, recorded
// here instead of opening anything.
const script = `
window.handled = [];
document.getElementById('handled').addEventListener('qv-openurl', (event) => {
  event.preventDefault();
  handled.push({ url: event.detail.url, target: event.detail.target, element: event.target.id });
});
window.opened = [];
window.open = (url, target) => { opened.push({ url, target }); return window; };`;
const site = stageSite(options.web, { 'hello-test.html': makePage(body, script) });
const homePage = 'http://example.com/qv/hello.html';

// The label's text inside the applet's area.
const labelText = (page, selector) => page.eval(
  `document.querySelector('${selector}').qvApplet.area.innerText`);

await runBrowserTest('web hello', { root: site }, async (browser) => {
  const page = await browser.open('hello-test.html');
  const handledNumber = await waitRunning(page, '#handled');
  const plainNumber = await waitRunning(page, '#plain');
  assert.notEqual(handledNumber, plainNumber);

  await cases([
    // (The page order of the command line is checked with the page script's test: the
    // parameter set itself is a hash table, and hello lists it in its order.)
    { name: 'parameters: the attributes, and "@temp_path" = the package folder',
      run: async () => {
        const report = await waitAppletFile(page, '#handled', 'hello-applet.txt');
        const folder = `/qv/applet-${handledNumber}`;
        const lines = report.trim().split('\n');
        assert.equal(lines.pop(), 'key none');
        assert.deepEqual(lines.sort(), [
          'parameter id=handled',
          'parameter type=application/qv-applet',
          'parameter src=hello.qva',
          'parameter width=320',
          'parameter height=200',
          'parameter colour=red',
          // Set by the page, replaced by the package folder (it keeps its place).
          `parameter @temp_path=${folder}`,
          'parameter empty=',
        ].sort());
        const plain = await waitAppletFile(page, '#plain', 'hello-applet.txt');
        assert.match(plain, /^parameter bundle=hello$/m);
        assert.match(plain, new RegExp(`^parameter @temp_path=/qv/applet-${plainNumber}$`, 'm'));
      } },
    ...[
      { key: 'a', code: 65 }, { key: 'Z', code: 90 }, { key: '7', code: 55 },
      { key: 'Enter', code: 13 }, { key: 'ArrowUp', code: 38 }, { key: 'Space', code: 32 },
    ].map(({ key, code }) => ({
      name: `key ${key} reaches the applet as ${code}`,
      run: async () => {
        await page.click(await appletWindow(page, '#handled'), { x: 200, y: 150 });
        await page.press(key);
        await page.waitFor(`document.querySelector('#handled').qvApplet.area.innerText
          .includes('Hello! Last key: ${code}')`, { timeout: 10000 });
        assert.match(await readAppletFile(page, '#handled', 'hello-applet.txt'),
                     new RegExp(`key ${code}\\n$`));
        // The other applet did not get it.
        assert.match(await labelText(page, '#plain'), /Last key: none/);
      },
    })),
    { name: 'OpenURL: the page\'s handler gets the URL and the target, nothing is opened',
      run: async () => {
        await page.click(`#qvwin-${handledNumber} button`);
        const got = await page.waitFor('handled.length > 0 && handled', { timeout: 10000 });
        assert.deepEqual(got, [{ url: homePage, target: '_blank', element: 'handled' }]);
        assert.deepEqual(await page.eval('opened'), []);
      } },
    { name: 'OpenURL without a handler opens the URL in the named target',
      run: async () => {
        await page.click(`#qvwin-${plainNumber} button`);
        const got = await page.waitFor('opened.length > 0 && opened', { timeout: 10000 });
        assert.deepEqual(got, [{ url: homePage, target: '_blank' }]);
        assert.equal(await page.eval('handled.length'), 1);
      } },
    { name: 'an applet whose element leaves the page ends; the other runs on',
      run: async () => {
        await page.eval(`window.plainRecord = document.getElementById('plain').qvApplet;
          document.getElementById('plain').remove()`);
        await page.waitFor('plainRecord.state === "ended"', { timeout: 10000 });
        await page.click(await appletWindow(page, '#handled'), { x: 200, y: 150 });
        await page.press('b');
        await page.waitFor(`document.querySelector('#handled').qvApplet.area.innerText
          .includes('Hello! Last key: 66')`, { timeout: 10000 });
      } },
  ], (c) => c.run());
});
