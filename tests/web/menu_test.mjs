// The player's menu: Shift + right click or a long press opens it (menu="false" has none, a plain
// right click neither); pause and resume, debug information to the clipboard, and full screen,
// where the applet's window takes the screen's size and draws to it (OnSize reached the applet)
// until Escape.
//
//   node menu_test.mjs --web <build>/web
import assert from 'node:assert/strict';
import { runBrowserTest, cases } from './browser.mjs';
import {
  page as makePage, parseArguments, stageSite, waitRunning, appletWindow, canvasFacts,
} from './support.mjs';

const options = parseArguments();
const site = stageSite(options.web, {
  'menu.html': makePage(
    '<qv-applet id="spin" src="spinner.qva" width="160" height="120"></qv-applet>' +
    '<qv-applet id="plain" src="hello.qva" width="160" height="120" menu="false"></qv-applet>'),
});
const SHIFT = 8;
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

await runBrowserTest('web menu', { root: site, width: 800, height: 600 }, async (browser) => {
  const tab = await browser.open('menu.html');
  await waitRunning(tab, '#spin');
  await waitRunning(tab, '#plain');
  const spinWindow = await appletWindow(tab, '#spin');
  await tab.send('Browser.grantPermissions', { origin: new URL(browser.url).origin,
    permissions: ['clipboardReadWrite', 'clipboardSanitizedWrite'] });
  const rightClick = async (selector, modifiers) => {
    const b = await tab.box(selector);
    const at = { x: b.x + 40, y: b.y + 30, modifiers, clickCount: 1 };
    await tab.send('Input.dispatchMouseEvent', { type: 'mousePressed', ...at, button: 'right', buttons: 2 });
    await tab.send('Input.dispatchMouseEvent', { type: 'mouseReleased', ...at, button: 'right', buttons: 0 });
    await sleep(100);
  };
  const menu = (id) => tab.eval(`Array.from(document.querySelectorAll('#${id} .qv-menu button'),
                                            (b) => b.textContent)`);
  const choose = async (label) => {
    await tab.click(`#spin .qv-menu button:nth-child(${
      (await menu('spin')).indexOf(label) + 1})`);
    await sleep(100);
  };
  await cases([
    { name: 'Shift + right click opens the menu; a plain right click and menu="false" do not',
      run: async () => {
        // where, modifiers, the menu expected
        for (const [id, modifiers, expected] of [
          ['spin', 0, []], ['plain', SHIFT, []],
          ['spin', SHIFT, ['Full screen', 'Pause', 'Copy debug information', 'About']]]) {
          await rightClick(`#${id}`, modifiers);
          assert.deepEqual(await menu(id), expected, `${id} ${modifiers}`);
        }
      } },
    { name: 'pause and resume from the menu',
      run: async () => {
        for (const [label, paused] of [['Pause', true], ['Resume', false]]) {
          if (!(await menu('spin')).length) await rightClick('#spin', SHIFT);
          await choose(label);
          assert.equal(await tab.eval(`document.getElementById('spin').qvApplet.paused`), paused);
        }
      } },
    { name: 'debug information goes to the clipboard',
      run: async () => {
        await rightClick('#spin', SHIFT);
        await choose('Copy debug information');
        const text = await tab.eval('navigator.clipboard.readText()');
        for (const line of [/^bundle: .*\/spinner\.js$/m, /^package: spinner\.qva$/m,
                            /^state: running$/m, /^browser: .*Chrome/m, /^WebGL renderer: \S/m])
          assert.match(text, line);
      } },
    { name: 'full screen: the window takes the screen size and draws to it; Escape leaves',
      run: async () => {
        await rightClick('#spin', SHIFT);
        await choose('Full screen');
        await tab.waitFor(`document.fullscreenElement === document.getElementById('spin').qvApplet.area`);
        const screen = await tab.eval('[innerWidth, innerHeight]');
        await tab.waitFor(`document.querySelector('${spinWindow}').clientWidth === ${screen[0]}`);
        await sleep(300);
        assert.deepEqual(await canvasFacts(tab, spinWindow), [...screen, ...screen, true]);
        await tab.press('Escape');
        await tab.waitFor('document.fullscreenElement === null');
        await tab.waitFor(`document.querySelector('${spinWindow}').clientWidth === 160`);
        await sleep(300);
        assert.deepEqual(await canvasFacts(tab, spinWindow), [160, 120, 160, 120, true]);
      } },
    { name: 'a long press opens the menu',
      run: async () => {
        const b = await tab.box('#spin');
        const point = { x: b.x + 50, y: b.y + 50 };
        await tab.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [point] });
        await sleep(900);
        await tab.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
        assert.equal((await menu('spin')).length, 4);
      } },
  ], (c) => c.run());
});
