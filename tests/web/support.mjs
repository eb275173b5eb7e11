// What the applet browser tests share: their command line, a scratch copy of the staged web
// folder with pages and packages of their own, and waiting for and looking into applets.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

// --web <staged demo folder> [--golden <dir>] [--qvrender <native program>] [--artefacts <dir>]
export function parseArguments(argv = process.argv.slice(2)) {
  const options = {};
  for (let i = 0; i + 1 < argv.length; i += 2) {
    if (!argv[i].startsWith('--')) throw new Error(`unexpected argument ${argv[i]}`);
    options[argv[i].slice(2)] = argv[i + 1];
  }
  if (!options.web) throw new Error('usage: --web <staged web folder> [...]');
  return options;
}

// A scratch folder linking every file of the staged folder, plus extra files (name → content;
// names may have new folders).
// Removed when the process exits.
export function stageSite(webFolder, extras = {}) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'qv-web-'));
  process.on('exit', () => fs.rmSync(folder, { recursive: true, force: true }));
  for (const name of fs.readdirSync(webFolder))
    fs.symlinkSync(path.resolve(webFolder, name), path.join(folder, name));
  for (const [name, content] of Object.entries(extras)) {
    fs.mkdirSync(path.dirname(path.join(folder, name)), { recursive: true });
    fs.rmSync(path.join(folder, name), { force: true });
    fs.writeFileSync(path.join(folder, name), content);
  }
  return folder;
}

// A page with the player script and the given body.
export function page(body, script = '') {
  return `<!DOCTYPE html><html><head><meta charset="utf-8"><title>test</title>
<style>body { margin: 0; }</style><script src="qvapplet.js"></script></head>
<body>${body}<script>${script}</script></body></html>`;
}

const js = JSON.stringify;

// Waits until the applet of the element is running (its window made, Init and Run called);
// fails at once when it failed. Returns its record's number N.
export async function waitRunning(page, selector, timeout = 60000) {
  const state = await page.waitFor(
    `(() => { const r = document.querySelector(${js(selector)})?.qvApplet;
              return r && r.state !== 'loading' && r.state; })()`,
    { timeout, what: `the applet ${selector} to start` });
  if (state !== 'running') {
    const message = await page.eval(`document.querySelector(${js(selector)}).qvApplet.message`);
    throw new Error(`the applet ${selector} is ${state}: ${message}`);
  }
  return page.eval(`document.querySelector(${js(selector)}).qvApplet.number`);
}

// The expression of a file of the applet's folder, as text, null when absent: asked of the
// applet's worker, or read from its bundle's file system on the page's thread.
const appletFile = (selector, name) => `(async () => {
  const r = document.querySelector(${js(selector)}).qvApplet;
  try { return (r.readFile ? await r.readFile(${js(name)})
    : r.module.FS.readFile(r.directory + '/' + ${js(name)}, { encoding: 'utf8' })) || null; }
  catch { return null; } })()`;

// A file of the applet's package folder in its virtual file system, as text (null when absent).
export function readAppletFile(page, selector, name) {
  return page.eval(appletFile(selector, name));
}

// Waits until the file exists and holds something; returns it.
export function waitAppletFile(page, selector, name, timeout = 60000) {
  return page.waitFor(appletFile(selector, name), { timeout, what: `${name} of ${selector}` });
}

// The selector of the applet's window: the window the UI manager made inside the host element.
export async function appletWindow(page, selector) {
  const id = await page.waitFor(`(() => {
    const r = document.querySelector(${js(selector)}).qvApplet;
    const host = document.getElementById('qvwin-' + r.number);
    const child = host && Array.from(host.children).find((e) => /^qvwin-\\d+$/.test(e.id));
    return child ? child.id : null; })()`, { what: `the window of ${selector}` });
  return `#${id}`;
}

// The window's canvas as drawn: its backing and CSS sizes, and whether its centre differs from
// its corner (the spinner's model is drawn about the viewport's centre: a viewport of the wrong
// size leaves the canvas's centre empty).
export function canvasFacts(page, window) {
  return page.eval(`(() => {
    const gl = document.querySelector('${window}-canvas');
    const copy = document.createElement('canvas');
    copy.width = gl.width; copy.height = gl.height;
    const c = copy.getContext('2d');
    c.drawImage(gl, 0, 0);
    const at = (x, y) => Array.from(c.getImageData(x, y, 1, 1).data).join();
    return [gl.width, gl.height, gl.clientWidth, gl.clientHeight,
            at(gl.width >> 1, gl.height >> 1) !== at(1, 1)]; })()`);
}

export function saveArtefact(options, name, buffer) {
  if (!options.artefacts) return null;
  fs.mkdirSync(options.artefacts, { recursive: true });
  const file = path.join(options.artefacts, name);
  fs.writeFileSync(file, buffer);
  return file;
}
