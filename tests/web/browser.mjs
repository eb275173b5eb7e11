// Headless Chromium for browser tests, driven through its DevTools protocol over a pipe (no port,
// no driver program, no npm package). A test serves a folder, opens a page, waits for a
// condition, evaluates script, presses real keys and clicks (input events that go through the
// browser's own input pipeline, as a user's would) and reads pixels from screenshots.
//
//   import { launch } from './browser.mjs';
//   const browser = await launch({ root: 'build/wasm/web' });
//   try {
//     const page = await browser.open('index.html');
//     await page.waitFor('document.title === "ready"');
//   } finally { await browser.close(); }
//
// Chromium, its helper processes and the scratch profile folder are removed by close(), and also
// when the process exits, fails or is interrupted (SIGINT, SIGTERM, SIGHUP).
import { spawn, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { serveFolder } from './server.mjs';
import { decodePng, crop } from './image.mjs';

export const chromiumPath = process.env.QV_CHROMIUM || '/usr/bin/chromium';
// Exit code with which CTest counts a test as skipped (SKIP_RETURN_CODE).
export const SKIP = 77;

export function chromiumAvailable() {
  if (!fs.existsSync(chromiumPath)) return false;
  return spawnSync(chromiumPath, ['--version'], { timeout: 30000 }).status === 0;
}

// Everything launched and not yet closed, cleaned up synchronously when the process ends.
const live = new Set();
function cleanUpAll() {
  for (const browser of live) browser.killNow();
}
let handlersInstalled = false;
function installHandlers() {
  if (handlersInstalled) return;
  handlersInstalled = true;
  process.on('exit', cleanUpAll);
  for (const [signal, code] of [['SIGINT', 130], ['SIGTERM', 143], ['SIGHUP', 129]]) {
    process.on(signal, () => {
      cleanUpAll();
      process.exit(code);
    });
  }
  process.on('uncaughtException', (error) => {
    console.error(error);
    cleanUpAll();
    process.exit(1);
  });
  process.on('unhandledRejection', (error) => {
    console.error(error);
    cleanUpAll();
    process.exit(1);
  });
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

class Protocol {
  constructor(input, output) {
    this.input = input;
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = [];
    this.closedError = null;
    let buffered = Buffer.alloc(0);
    output.on('data', (data) => {
      buffered = Buffer.concat([buffered, data]);
      let end;
      while ((end = buffered.indexOf(0)) >= 0) {
        const message = JSON.parse(buffered.subarray(0, end).toString('utf8'));
        buffered = buffered.subarray(end + 1);
        this.dispatch(message);
      }
    });
    output.on('close', () => this.fail(new Error('the browser closed its protocol pipe')));
    input.on('error', (error) => this.fail(error));
  }
  dispatch(message) {
    if (message.id !== undefined) {
      const waiting = this.pending.get(message.id);
      if (!waiting) return;
      this.pending.delete(message.id);
      if (message.error) waiting.reject(new Error(`${waiting.method}: ${message.error.message}`));
      else waiting.resolve(message.result);
    } else {
      for (const listener of this.listeners) listener(message);
    }
  }
  fail(error) {
    this.closedError = error;
    for (const waiting of this.pending.values()) waiting.reject(error);
    this.pending.clear();
  }
  send(method, params = {}, sessionId = undefined) {
    if (this.closedError) return Promise.reject(this.closedError);
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject, method });
      this.input.write(JSON.stringify(message) + '\0');
    });
  }
}

// Keys by name: DOM key, code and Windows virtual-key code. Single letters and digits are
// derived.
const namedKeys = {
  Enter: { key: 'Enter', code: 'Enter', keyCode: 13, text: '\r' },
  Tab: { key: 'Tab', code: 'Tab', keyCode: 9 },
  Escape: { key: 'Escape', code: 'Escape', keyCode: 27 },
  Space: { key: ' ', code: 'Space', keyCode: 32, text: ' ' },
  Backspace: { key: 'Backspace', code: 'Backspace', keyCode: 8 },
  ArrowLeft: { key: 'ArrowLeft', code: 'ArrowLeft', keyCode: 37 },
  ArrowUp: { key: 'ArrowUp', code: 'ArrowUp', keyCode: 38 },
  ArrowRight: { key: 'ArrowRight', code: 'ArrowRight', keyCode: 39 },
  ArrowDown: { key: 'ArrowDown', code: 'ArrowDown', keyCode: 40 },
  '+': { key: '+', code: 'NumpadAdd', keyCode: 107, text: '+' },
  '-': { key: '-', code: 'Minus', keyCode: 189, text: '-' },
};
export function describeKey(name) {
  if (namedKeys[name]) return namedKeys[name];
  if (/^[a-zA-Z]$/.test(name))
    return { key: name, code: `Key${name.toUpperCase()}`, keyCode: name.toUpperCase().charCodeAt(0),
             text: name };
  if (/^[0-9]$/.test(name))
    return { key: name, code: `Digit${name}`, keyCode: name.charCodeAt(0), text: name };
  throw new Error(`unknown key ${name}`);
}

class Page {
  constructor(browser, sessionId) {
    this.browser = browser;
    this.sessionId = sessionId;
    // What the page wrote to its console and the errors it threw, for failure reports.
    this.console = [];
  }
  send(method, params) {
    return this.browser.protocol.send(method, params, this.sessionId);
  }
  onEvent(message) {
    if (message.method === 'Runtime.consoleAPICalled') {
      const text = message.params.args.map((a) => a.value ?? a.description ?? a.type).join(' ');
      this.console.push(`${message.params.type}: ${text}`);
      if (this.browser.echo) console.log(`[page ${message.params.type}] ${text}`);
    } else if (message.method === 'Runtime.exceptionThrown') {
      const d = message.params.exceptionDetails;
      const text = `exception: ${d.exception?.description ?? d.text}`;
      this.console.push(text);
      if (this.browser.echo) console.log(`[page] ${text}`);
    } else if (message.method === 'Log.entryAdded') {
      this.console.push(`${message.params.entry.level}: ${message.params.entry.text}`);
    }
  }

  // Navigates to a path of the served folder (or a full URL) and waits for the load event.
  async goto(where, { timeout = 30000 } = {}) {
    const url = /^[a-z]+:/.test(where) ? where : this.browser.url + where.replace(/^\//, '');
    await this.send('Page.navigate', { url });
    await this.waitFor('document.readyState === "complete"', { timeout });
  }

  // The value of a JS expression (awaited when it is a promise); a thrown error is rethrown.
  async eval(expression, { timeout = 60000 } = {}) {
    const result = await this.send('Runtime.evaluate', {
      expression, awaitPromise: true, returnByValue: true, timeout,
    });
    if (result.exceptionDetails) {
      const d = result.exceptionDetails;
      throw new Error(`page script failed: ${d.exception?.description ?? d.text}\n  in: ${expression}`);
    }
    return result.result.value;
  }

  // Waits until the expression is truthy (polled), at most timeout ms; returns its value.
  async waitFor(expression, { timeout = 30000, interval = 50, what = expression } = {}) {
    const end = Date.now() + timeout;
    let last;
    for (;;) {
      try {
        last = await this.eval(expression);
        if (last) return last;
      } catch (error) {
        last = error.message;
      }
      if (Date.now() > end) {
        throw new Error(`timed out after ${timeout} ms waiting for ${what} (last: ${last})\n` +
                        `page console:\n  ${this.console.slice(-30).join('\n  ')}`);
      }
      await sleep(interval);
    }
  }

  // The element's box in CSS pixels of the viewport (scrolled into view first).
  async box(selector) {
    const box = await this.eval(`(() => {
      const e = document.querySelector(${JSON.stringify(selector)});
      if (!e) return null;
      e.scrollIntoView({ block: 'center', inline: 'center' });
      const r = e.getBoundingClientRect();
      return { x: r.left, y: r.top, width: r.width, height: r.height };
    })()`);
    if (!box) throw new Error(`no element ${selector}`);
    return box;
  }

  // A real key press (down, then up) to the focused element.
  async press(name, { modifiers = 0 } = {}) {
    const k = describeKey(name);
    const common = { key: k.key, code: k.code, windowsVirtualKeyCode: k.keyCode,
                     nativeVirtualKeyCode: k.keyCode, modifiers };
    await this.send('Input.dispatchKeyEvent',
                    { type: k.text ? 'keyDown' : 'rawKeyDown', text: k.text, ...common });
    await this.send('Input.dispatchKeyEvent', { type: 'keyUp', ...common });
  }

  // A real left click at viewport coordinates.
  async clickAt(x, y) {
    await this.send('Input.dispatchMouseEvent', { type: 'mouseMoved', x, y });
    await this.send('Input.dispatchMouseEvent',
                    { type: 'mousePressed', x, y, button: 'left', buttons: 1, clickCount: 1 });
    await this.send('Input.dispatchMouseEvent',
                    { type: 'mouseReleased', x, y, button: 'left', buttons: 0, clickCount: 1 });
  }

  // A real left click in the middle of the element (or at an offset from its top left).
  async click(selector, offset = null) {
    const b = await this.box(selector);
    const x = b.x + (offset ? offset.x : b.width / 2);
    const y = b.y + (offset ? offset.y : b.height / 2);
    await this.clickAt(x, y);
  }

  // The viewport as an RGBA image (device scale 1: one image pixel per CSS pixel).
  async screenshot() {
    const { data } = await this.send('Page.captureScreenshot', { format: 'png' });
    return decodePng(Buffer.from(data, 'base64'));
  }

  // What the element shows on screen, as an RGBA image of its size.
  async pixels(selector) {
    const b = await this.box(selector);
    return crop(await this.screenshot(), b.x, b.y, b.width, b.height);
  }
}

class Browser {
  constructor() {
    this.process = null;
    this.profile = null;
    this.server = null;
    this.pages = new Map();
    this.echo = !!process.env.QV_WEB_ECHO;
  }

  async start({ root, width, height, serve = {} }) {
    installHandlers();
    live.add(this);
    if (root) {
      this.server = await serveFolder(root, serve);
      this.url = this.server.url;
    }
    this.profile = fs.mkdtempSync(path.join(os.tmpdir(), 'qv-chromium-'));
    const args = [
      '--headless=new', '--no-sandbox', '--enable-unsafe-swiftshader', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--disable-default-apps', '--disable-extensions', '--mute-audio',
      '--disable-features=Translate,MediaRouter', '--hide-scrollbars',
      // Background tabs and hidden pages are not slowed down: the tests wait on timers.
      '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
      '--disable-backgrounding-occluded-windows',
      `--window-size=${width},${height}`, `--user-data-dir=${this.profile}`,
      '--remote-debugging-pipe', 'about:blank',
    ];
    // A process group of its own, so that every helper process chromium starts ends with it.
    this.process = spawn(chromiumPath, args, {
      stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'], detached: true,
    });
    this.stderr = '';
    this.process.stderr.on('data', (d) => {
      if (this.stderr.length < 100000) this.stderr += d;
    });
    this.exited = new Promise((resolve) => this.process.once('exit', resolve));
    this.protocol = new Protocol(this.process.stdio[3], this.process.stdio[4]);
    this.protocol.listeners.push((message) => {
      const page = this.pages.get(message.sessionId);
      if (page) page.onEvent(message);
    });
    await this.protocol.send('Browser.getVersion');
    this.size = { width, height };
  }

  // A new tab showing `where` (a path of the served folder or a URL).
  async open(where = 'about:blank', { timeout = 30000 } = {}) {
    const { targetId } = await this.protocol.send('Target.createTarget', { url: 'about:blank' });
    const { sessionId } = await this.protocol.send('Target.attachToTarget',
                                                   { targetId, flatten: true });
    const page = new Page(this, sessionId);
    this.pages.set(sessionId, page);
    await page.send('Page.enable');
    await page.send('Runtime.enable');
    await page.send('Log.enable');
    await page.send('Emulation.setDeviceMetricsOverride', {
      width: this.size.width, height: this.size.height, deviceScaleFactor: 1, mobile: false,
    });
    await page.send('Emulation.setFocusEmulationEnabled', { enabled: true });
    if (where !== 'about:blank') await page.goto(where, { timeout });
    return page;
  }

  // Ends chromium (its whole process group) and removes the profile: synchronous, so that it
  // also works from an exit handler.
  killNow() {
    live.delete(this);
    if (this.process && this.process.exitCode === null && this.process.signalCode === null) {
      try {
        process.kill(-this.process.pid, 'SIGKILL');
      } catch {
        try { this.process.kill('SIGKILL'); } catch { /* gone already */ }
      }
    }
    if (this.profile) {
      try {
        fs.rmSync(this.profile, { recursive: true, force: true, maxRetries: 5 });
      } catch { /* a helper still writing; the next attempt removes it */ }
      this.profile = null;
    }
  }

  async close() {
    if (this.process && this.protocol && !this.protocol.closedError) {
      // A polite end first; the kill below makes sure of it.
      await Promise.race([this.protocol.send('Browser.close').catch(() => {}), sleep(2000)]);
      await Promise.race([this.exited, sleep(3000)]);
    }
    // Helper processes of the group may outlive the browser process: end them too.
    if (this.process) {
      try { process.kill(-this.process.pid, 'SIGKILL'); } catch { /* all gone */ }
    }
    this.killNow();
    if (this.server) {
      await this.server.close();
      this.server = null;
    }
  }
}

// Starts the server (when root is given; serve: its options) and the browser. width × height is
// the viewport.
export async function launch({ root = null, width = 1280, height = 1024, serve = {} } = {}) {
  const browser = new Browser();
  try {
    await browser.start({ root, width, height, serve });
  } catch (error) {
    await browser.close();
    throw new Error(`chromium did not start: ${error.message}\n${browser.stderr ?? ''}`);
  }
  return browser;
}

// Runs a test body with a fresh browser and always closes it; a missing chromium skips
// (exit code 77). The body gets the browser; a thrown error fails the test (exit code 1, set
// as the process's exit code). Returns whether the body passed.
export async function runBrowserTest(name, options, body) {
  if (!chromiumAvailable()) {
    console.log(`${name}: skipped, no chromium at ${chromiumPath}`);
    process.exit(SKIP);
  }
  const browser = await launch(options);
  let failed = false;
  try {
    await body(browser);
  } catch (error) {
    failed = true;
    console.error(`${name}: FAILED\n${error.stack ?? error}`);
    for (const page of browser.pages.values()) {
      if (page.console.length) console.error(`page console:\n  ${page.console.join('\n  ')}`);
    }
  } finally {
    await browser.close();
  }
  if (!failed) console.log(`${name}: passed`);
  else process.exitCode = 1;
  return !failed;
}

// Named cases, run in order, each reported; the first failure ends the run with its error.
export async function cases(table, run) {
  for (const entry of table) {
    try {
      await run(entry);
      console.log(`  ok   ${entry.name}`);
    } catch (error) {
      console.log(`  FAIL ${entry.name}`);
      throw error;
    }
  }
}
