// The web UI manager in headless Chromium: the test program (WebUITestApp.cpp) in its page
// (webuitest.html), served from the folder given as the first argument. Checks where the
// elements appear, real key presses and mouse moves with their virtual-key codes and flags,
// button commands, message boxes answered by clicks and keys, PostQuit, the close control, the
// page removing the element, and that the loop yields to the page all along.
//
//   node tests/ui/web/web_ui_test.mjs <folder with webuitest.html/.js/.wasm>
import assert from 'node:assert/strict';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { runBrowserTest, cases } from '../../web/browser.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const folder = path.resolve(process.argv[2] || path.join(here, '../../../build/wasm/bin'));

// Keys as the browser reports them (code, key, the browser's keyCode and the typed text) and
// the virtual-key code the listener must get.
const keyTable = [
  ['KeyA', 'a', 65, 'a', 0x41], ['KeyZ', 'Z', 90, 'Z', 0x5A], ['KeyM', 'm', 77, 'm', 0x4D],
  ['Digit0', '0', 48, '0', 0x30], ['Digit5', '%', 53, '%', 0x35], ['Digit9', '9', 57, '9', 0x39],
  ['F1', 'F1', 112, '', 0x70], ['F12', 'F12', 123, '', 0x7B],
  ['ArrowLeft', 'ArrowLeft', 37, '', 0x25], ['ArrowUp', 'ArrowUp', 38, '', 0x26],
  ['ArrowRight', 'ArrowRight', 39, '', 0x27], ['ArrowDown', 'ArrowDown', 40, '', 0x28],
  ['Enter', 'Enter', 13, '\r', 0x0D], ['NumpadEnter', 'Enter', 13, '\r', 0x0D],
  ['Escape', 'Escape', 27, '', 0x1B], ['Space', ' ', 32, ' ', 0x20],
  ['Backspace', 'Backspace', 8, '', 0x08],
  ['ShiftLeft', 'Shift', 16, '', 0x10], ['ControlRight', 'Control', 17, '', 0x11],
  ['AltLeft', 'Alt', 18, '', 0x12],
  ['Numpad0', '0', 96, '0', 0x60], ['Numpad7', '7', 103, '7', 0x67],
  ['Numpad4', 'ArrowLeft', 37, '', 0x25],  // Num Lock off
  ['NumpadMultiply', '*', 106, '*', 0x6A], ['NumpadAdd', '+', 107, '+', 0x6B],
  ['NumpadSubtract', '-', 109, '-', 0x6D], ['NumpadDivide', '/', 111, '/', 0x6F],
  ['NumpadDecimal', '.', 110, '.', 0x6E],
  ['Home', 'Home', 36, '', 0x24], ['End', 'End', 35, '', 0x23], ['PageUp', 'PageUp', 33, '', 0x21],
  ['Delete', 'Delete', 46, '', 0x2E], ['Insert', 'Insert', 45, '', 0x2D],
  ['Semicolon', ';', 186, ';', 0xBA], ['Comma', ',', 188, ',', 0xBC], ['Slash', '/', 191, '/', 0xBF],
];

// CDP modifier bits and the mouse buttons' names and bits.
const SHIFT = 8, CONTROL = 2, ALT = 1;
const buttonBits = { left: 1, right: 2, middle: 4 };

class AppPage {
  constructor(page) {
    this.page = page;
    this.mark = 0;
  }
  log() { return this.page.eval('qvTestLog'); }
  // Waits until the lines appear in this order after the mark, then moves the mark past them.
  async expect(lines, { timeout = 10000 } = {}) {
    const want = JSON.stringify(lines);
    await this.page.waitFor(`(() => { let at = ${this.mark}; for (const line of ${want}) {
        at = qvTestLog.indexOf(line, at); if (at < 0) return false; ++at; } return true; })()`,
                            { timeout, what: `log lines ${want} after line ${this.mark}` });
    const log = await this.log();
    for (const line of lines) this.mark = log.indexOf(line, this.mark) + 1;
  }
  async since() { return (await this.log()).slice(this.mark); }
  async key(code, key, keyCode, text, modifiers = 0) {
    const common = { code, key, windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode,
                     modifiers };
    await this.page.send('Input.dispatchKeyEvent',
                         { type: text ? 'keyDown' : 'rawKeyDown', text: text || undefined, ...common });
    await this.page.send('Input.dispatchKeyEvent', { type: 'keyUp', ...common });
  }
  letter(c) { return this.key(`Key${c.toUpperCase()}`, c, c.toUpperCase().charCodeAt(0), c); }
  digit(d) { return this.key(`Digit${d}`, d, d.charCodeAt(0), d); }
  // The viewport position of a point of an element's client area.
  async at(selector, x, y) {
    const b = await this.page.box(selector);
    return { x: b.x + x, y: b.y + y };
  }
  mouse(type, point, { button = 'none', buttons = 0, modifiers = 0 } = {}) {
    return this.page.send('Input.dispatchMouseEvent',
                          { type, x: point.x, y: point.y, button, buttons, modifiers, clickCount: 1 });
  }
  async start(query, readyPattern = /^ready /) {
    await this.page.goto(`webuitest.html${query}`);
    await this.page.waitFor(`qvTestLog.some((l) => ${readyPattern}.test(l))`);
    const log = await this.log();
    this.mark = log.length;
    const ready = log.find((l) => readyPattern.test(l)).split(' ').map(Number);
    return { window: ready[1], inner: ready[2], visible: ready[3], cursorMoved: ready[4],
             log };
  }
}

const relativeBox = (selector, parent) => `(() => {
  const e = document.querySelector(${JSON.stringify(selector)}).getBoundingClientRect();
  const p = document.querySelector(${JSON.stringify(parent)}).getBoundingClientRect();
  return [e.left - p.left, e.top - p.top, e.width, e.height]; })()`;

await runBrowserTest('web_ui', { root: folder, width: 900, height: 700 }, async (browser) => {
  const page = await browser.open();
  const app = new AppPage(page);
  const ids = await app.start('');
  const host = ids.window - 1;
  const w = `#qvwin-${ids.window}`;
  const inner = `#qvwin-${ids.inner}`;
  // The items' ids in creation order: window, label, button, link, inner.
  const label = `#qvwin-${ids.window + 1}`, button = `#qvwin-${ids.window + 2}`,
        link = `#qvwin-${ids.window + 3}`;

  await cases([
    { name: 'elements appear inside the host element where the items say',
      run: async () => {
        assert.ok(ids.log.includes('module UI Manager Web Web UI Manager'), ids.log.join(' | '));
        assert.ok(ids.log.includes('static 0'), 'a static item is not attached');
        assert.ok(ids.log.includes('attached 1') && ids.log.includes('attached missing 0'));
        assert.equal(ids.visible, 1);
        assert.equal(ids.cursorMoved, 0, 'a page cannot move the pointer');
        assert.equal(await page.eval(`document.querySelector('${w}').parentElement.id`), `qvwin-${host}`);
        const geometry = [
          [w, `#qvwin-${host}`, [0, 0, 320, 240]], [label, w, [10, 10, 200, 20]],
          [button, w, [10, 40, 100, 30]], [link, w, [10, 80, 120, 20]],
          [inner, w, [200, 120, 100, 80]], [`${w}-canvas`, w, [0, 0, 320, 240]],
        ];
        for (const [selector, parent, box] of geometry)
          assert.deepEqual(await page.eval(relativeBox(selector, parent)), box, selector);
        const facts = await page.eval(`(() => {
          const q = (s) => document.querySelector(s);
          const canvas = q('${w}-canvas');
          return { first: q('${w}').firstElementChild === canvas, size: [canvas.width, canvas.height],
                   colour: getComputedStyle(canvas).backgroundColor,
                   innerColour: getComputedStyle(q('${inner}-canvas')).backgroundColor,
                   label: [q('${label}').className, q('${label}').textContent],
                   button: [q('${button}').tagName, q('${button}').textContent],
                   link: [q('${link}').className, q('${link}').textContent,
                          getComputedStyle(q('${link}')).cursor],
                   name: q('${w}').getAttribute('aria-label') }; })()`);
        assert.deepEqual(facts, {
          first: true, size: [320, 240], colour: 'rgb(255, 255, 255)',
          innerColour: 'rgb(255, 0, 0)', label: ['qvui-label', 'Hello label'],
          button: ['BUTTON', 'Ask'], link: ['qvui-handlabel', 'A link', 'pointer'],
          name: 'Test window' });
        // On screen: the window's white, the inner window's red, dark text on the label.
        const shot = await page.screenshot();
        const pixel = async (selector, x, y) => {
          const p = await app.at(selector, x, y);
          const i = (Math.round(p.y) * shot.width + Math.round(p.x)) * 4;
          return [...shot.data.subarray(i, i + 3)];
        };
        assert.deepEqual(await pixel(w, 300, 20), [255, 255, 255]);
        assert.deepEqual(await pixel(inner, 50, 40), [255, 0, 0]);
        const labelImage = await page.pixels(label);
        let dark = 0;
        for (let i = 0; i < labelImage.data.length; i += 4) dark += labelImage.data[i] < 100 ? 1 : 0;
        assert.ok(dark > 20, `label text drawn (${dark} dark pixels)`);
      } },
    { name: 'the loop yields: page timers and the loop both go on',
      run: async () => {
        const before = await page.eval('[qvTestIterations, qvPageTicks]');
        await new Promise((r) => setTimeout(r, 300));
        const after = await page.eval('[qvTestIterations, qvPageTicks]');
        assert.ok(after[0] > before[0] + 5, `loop iterations ${before[0]} -> ${after[0]}`);
        assert.ok(after[1] > before[1] + 5, `page ticks ${before[1]} -> ${after[1]}`);
      } },
    { name: `keys reach the focused window with their virtual-key codes (${keyTable.length} keys)`,
      run: async () => {
        await page.eval(`document.querySelector('${w}').focus()`);
        for (const [code, key, keyCode, text, vk] of keyTable) {
          await app.key(code, key, keyCode, text);
          try {
            await app.expect([`down window 0 ${vk}`, `up window 0 ${vk}`], { timeout: 5000 });
          } catch (error) {
            throw new Error(`key ${code}/${key}: ${error.message.split('\n')[0]}; got ${(await app.since()).join(' | ')}`);
          }
        }
      } },
    { name: 'scroll keys stay in the focused window; Tab and browser shortcuts stay the page\'s',
      run: async () => {
        // A page taller than the view, which the keys would scroll.
        await page.eval(`document.body.style.height = '4000px'; globalThis.seen = [];
          addEventListener('keydown', (e) => seen.push(e), true); 1`);
        // code, key, keyCode, modifiers, whether the page's default action is prevented
        const table = [
          ['ArrowDown', 'ArrowDown', 40, 0, true], ['Space', ' ', 32, 0, true],
          ['PageDown', 'PageDown', 34, 0, true], ['End', 'End', 35, 0, true],
          ['F12', 'F12', 123, 0, false], ['F6', 'F6', 117, 0, false],
          ['KeyL', 'l', 76, CONTROL, false], ['KeyI', 'I', 73, CONTROL | SHIFT, false],
          ['KeyD', 'd', 68, ALT, false],
        ];
        for (const [code, key, keyCode, modifiers, prevented] of table) {
          await page.eval(`document.querySelector('${w}').focus(); seen.length = 0`);
          await app.key(code, key, keyCode, key === ' ' ? ' ' : '', modifiers);
          assert.equal(await page.eval('seen[0].defaultPrevented'), prevented, `${code} ${modifiers}`);
        }
        assert.equal(await page.eval('scrollY'), 0, 'the page did not scroll');
        // Shift held while Tab moves the focus away: the window hears it go up.
        await page.send('Input.dispatchKeyEvent', { type: 'rawKeyDown', code: 'ShiftLeft',
          key: 'Shift', windowsVirtualKeyCode: 16, modifiers: SHIFT });
        await app.key('Tab', 'Tab', 9, '', SHIFT);
        await app.expect(['down window 0 16', 'up window 0 16']);
        assert.notEqual(await page.eval('document.activeElement.id'), `qvwin-${ids.window}`,
                        'Tab moves the focus onward');
        assert.ok(!(await app.since()).some((l) => / 9$/.test(l)), 'Tab is the page\'s');
        await page.eval(`document.body.style.height = ''; scrollTo(0, 0); 1`);
      } },
    { name: 'a click gives the window the focus, also on a label, and keys follow it',
      run: async () => {
        for (const [selector, x, y] of [[w, 300, 200], [label, 5, 5]]) {
          await page.eval('document.activeElement.blur()');
          await page.click(selector, { x, y });
          await app.letter('c');
          await app.expect(['down window 0 67', 'up window 0 67']);
        }
      } },
    { name: 'keys on a focused button reach the button item',
      run: async () => {
        await page.eval(`document.querySelector('${button}').focus()`);
        await app.letter('k');
        await app.expect(['down button 0 75', 'up button 0 75']);
        await page.eval(`document.querySelector('${w}').focus()`);
      } },
    { name: 'mouse moves carry client coordinates and the button and modifier flags',
      run: async () => {
        const table = [
          // where, x, y, button held, modifiers, expected listener line
          [w, 50, 150, 'none', 0, 'move window 0 50 150 0'],
          [w, 60, 155, 'left', 0, 'move window 8 60 155 0'],
          [w, 70, 160, 'right', 0, 'move window 32 70 160 0'],
          [w, 80, 165, 'middle', 0, 'move window 16 80 165 0'],
          [w, 90, 170, 'none', SHIFT, 'move window 1 90 170 0'],
          [w, 95, 175, 'left', CONTROL, 'move window 12 95 175 0'],
          [w, 20, 15, 'none', 0, 'move window 0 20 15 0'],  // over the label: its window's
          [inner, 10, 12, 'none', 0, 'move inner 0 10 12 0'],
        ];
        for (const [selector, x, y, held, modifiers, line] of table) {
          const point = await app.at(selector, x, y);
          const buttons = held === 'none' ? 0 : buttonBits[held];
          if (held !== 'none') {
            await app.mouse('mousePressed', point, { button: held, buttons, modifiers });
            const moved = { x: point.x + 0, y: point.y };
            await app.mouse('mouseMoved', moved, { button: held, buttons, modifiers });
            await app.mouse('mouseReleased', moved, { button: held, buttons: 0, modifiers });
          } else {
            // From a point of its own first, so that the move to the point is a move.
            await app.mouse('mouseMoved', { x: point.x - 1, y: point.y }, { modifiers });
            await app.mouse('mouseMoved', point, { modifiers });
          }
          await app.expect([line]);
        }
        // Over the button, the window hears nothing.
        const before = (await app.log()).length;
        await app.mouse('mouseMoved', await app.at(button, 20, 10));
        await app.mouse('mouseMoved', await app.at(button, 30, 12));
        await new Promise((r) => setTimeout(r, 200));
        const moves = (await app.log()).slice(before).filter((l) => l.startsWith('move window'));
        assert.deepEqual(moves, []);
      } },
    { name: 'touch and pen press as the left button and focus; the right button is the window\'s',
      run: async () => {
        await page.eval(`globalThis.menus = []; addEventListener('contextmenu', (e) => menus.push(e), true);
          document.activeElement.blur(); 1`);
        const point = await app.at(w, 40, 140);
        await page.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [point] });
        await app.expect(['move window 8 40 140 0']);
        await page.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
        assert.equal(await page.eval('document.activeElement.id'), `qvwin-${ids.window}`);
        const pen = await app.at(w, 45, 141);
        for (const type of ['mousePressed', 'mouseReleased'])
          await page.send('Input.dispatchMouseEvent', { type, ...pen, button: 'left',
            buttons: type === 'mousePressed' ? 1 : 0, clickCount: 1, pointerType: 'pen' });
        await app.expect(['move window 8 45 141 0', 'move window 0 45 141 0']);
        const right = await app.at(w, 50, 142);
        await app.mouse('mousePressed', right, { button: 'right', buttons: 2 });
        await app.mouse('mouseReleased', right, { button: 'right', buttons: 0 });
        await app.expect(['move window 32 50 142 0']);
        assert.deepEqual(await page.eval('menus.map((e) => e.defaultPrevented)'), [true]);
      } },
    { name: "an attached element's events wait for a loop of its own",
      run: async () => {
        // Outside the window the loop serves: the move stays queued.
        await app.mouse('mouseMoved', await app.at(`#qvwin-${host}`, 349, 260));
        await app.mouse('mouseMoved', await app.at(`#qvwin-${host}`, 350, 260));
        await new Promise((r) => setTimeout(r, 200));
        assert.deepEqual((await app.since()).filter((l) => l.startsWith('move host')), []);
        // H runs a few steps of the host's loop from the window's listener.
        await page.eval(`document.querySelector('${w}').focus()`);
        await app.letter('h');
        await app.expect(['down window 0 72', 'move host 0 350 260 0']);
      } },
    { name: 'captions and visibility applied to the page and read back',
      run: async () => {
        await page.eval(`document.querySelector('${w}').focus()`);
        await app.letter('t');
        await app.expect(['text 5 220 10003']);
        assert.equal(await page.eval(`document.querySelector('${label}').textContent`), '\u00dcn\u00ef \u2713');
        const state = `getComputedStyle(document.querySelector('${inner}')).display`;
        await app.letter('v');
        await app.expect(['inner visible 0']);
        assert.equal(await page.eval(state), 'none');
        await app.letter('v');
        await app.expect(['inner visible 1']);
        assert.equal(await page.eval(state), 'block');
      } },
    { name: 'message boxes answered by clicks and keys return the right results',
      run: async () => {
        // trigger (button or key), answer (a result button or a key), text, caption, result line
        const table = [
          ['button', '6', 'Yes, no or cancel?', 'Question', 'yesnocancel 1'],
          ['button', '7', 'Yes, no or cancel?', 'Question', 'yesnocancel 0'],
          ['button', '2', 'Yes, no or cancel?', 'Question', 'yesnocancel 2'],
          ['button', 'close', 'Yes, no or cancel?', 'Question', 'yesnocancel 2'],
          ['2', 'Escape', 'Yes, no or cancel?', 'Question', 'yesnocancel 2'],
          ['1', '6', 'Yes or no?', 'Question', 'yesno 1'],
          ['1', '7', 'Yes or no?', 'Question', 'yesno 0'],
          ['1', 'n', 'Yes or no?', 'Question', 'yesno 0'],
          ['1', 'y', 'Yes or no?', 'Question', 'yesno 1'],
          ['3', '1', 'Just so you know.\nSecond line.', 'Note', 'message 1'],
          ['3', 'Escape', 'Just so you know.\nSecond line.', 'Note', 'message 1'],
          ['3', 'Enter', 'Just so you know.\nSecond line.', 'Note', 'message 1'],
        ];
        for (const [trigger, answer, text, caption, line] of table) {
          await page.eval(`document.querySelector('${w}').focus()`);
          if (trigger === 'button') await page.click(button);
          else await app.digit(trigger);
          await page.waitFor('document.querySelector("dialog.qvui-box[open]")');
          const shown = await page.eval(`(() => { const d = document.querySelector('dialog.qvui-box[open]');
            return [d.querySelector('.qvui-box-text').textContent,
                    d.querySelector('.qvui-titlebar span').textContent]; })()`);
          assert.deepEqual(shown, [text, caption]);
          // The caller waits while the page runs.
          const before = await page.eval('[qvTestIterations, qvPageTicks]');
          await new Promise((r) => setTimeout(r, 150));
          const during = await page.eval('[qvTestIterations, qvPageTicks]');
          assert.equal(during[0], before[0], 'the loop waits for the answer');
          assert.ok(during[1] > before[1], 'the page runs while the box is up');
          if (answer === 'close') await page.click('dialog.qvui-box[open] .qvui-close');
          else if (/^\d$/.test(answer))
            await page.click(`dialog.qvui-box[open] button[data-result="${answer}"]`);
          else if (answer === 'Escape') await app.key('Escape', 'Escape', 27, '');
          else if (answer === 'Enter') await app.key('Enter', 'Enter', 13, '\r');
          else await app.letter(answer);
          await app.expect([line]);
          await page.waitFor('!document.querySelector("dialog.qvui-box")');
        }
      } },
    { name: 'a Yes/No box cannot be escaped or closed without an answer',
      run: async () => {
        await page.eval(`document.querySelector('${w}').focus()`);
        await app.digit('1');
        await page.waitFor('document.querySelector("dialog.qvui-box[open]")');
        await app.key('Escape', 'Escape', 27, '');
        await new Promise((r) => setTimeout(r, 150));
        assert.equal(await page.eval('!!document.querySelector("dialog.qvui-box[open]")'), true);
        assert.equal(await page.eval('document.querySelector("dialog.qvui-box .qvui-close").disabled'), true);
        await page.click('dialog.qvui-box[open] button[data-result="7"]');
        await app.expect(['yesno 0']);
      } },
    { name: 'a click on the button reaches the window listener as its command',
      run: async () => {
        await page.click(button);
        await app.expect(['command button']);
        await page.click('dialog.qvui-box[open] button[data-result="2"]');
        await app.expect(['yesnocancel 2']);
      } },
    { name: 'PostQuit ends the loop without closing the window',
      run: async () => {
        await page.eval(`document.querySelector('${w}').focus()`);
        await app.letter('q');
        await app.expect(['down window 0 81', 'quit posted 1', 'ended closed=0']);
        assert.equal(await page.eval(`!!document.querySelector('${w}')`), true);
      } },
    { name: 'waiting loop: events arrive, idle time costs no iterations, PostQuit ends it',
      run: async () => {
        await app.start('?loop=wait');
        const idle = await page.eval('globalThis.qvTestIterations || 0');
        await new Promise((r) => setTimeout(r, 300));
        assert.equal(await page.eval('globalThis.qvTestIterations || 0'), idle);
        await page.eval(`document.querySelector('[aria-label="Test window"]').focus()`);
        await app.letter('b');
        await app.expect(['down window 0 66', 'up window 0 66']);
        await app.letter('q');
        await app.expect(['quit posted 1', 'ended closed=0']);
      } },
    ...['poll', 'wait'].map((loop) => ({
      name: `the page removing the element ends the ${loop}ing loop with the window closed`,
      run: async () => {
        const started = await app.start(`?loop=${loop}`);
        await page.eval(`document.getElementById('qvwin-${started.window - 1}').remove()`);
        await app.expect(['ended closed=1']);
      } })),
    { name: 'a window without parent: in the root element, titled, closed by its close control',
      run: async () => {
        const started = await app.start('?mode=top');
        const top = `#qvwin-${started.window}`;
        assert.equal(await page.eval(`document.querySelector('${top}').parentElement.id`), 'root');
        assert.deepEqual(await page.eval(relativeBox(top, '#root')), [30, 50, 320, 240]);
        assert.equal(await page.eval(`document.querySelector('${top} .qvui-titlebar span').textContent`),
                     'Top window');
        await page.click(`${top} .qvui-close`);
        await app.expect(['ended closed=1']);
        assert.equal(await page.eval(`!!document.querySelector('${top}')`), false);
      } },
  ], (c) => c.run());
});
