// A package with hostile entry names, played in a page: everything unpacks inside the applet's
// folder of the virtual file system, the applet module named as "../helloapplet.qvm" is the one
// in the folder, and nothing appears anywhere else. And a spinner package without its model:
// the applet says so in a message box, and once the box is answered by a click its Run returns.
// And a package whose qveapp.cfg is larger than 1 MiB starts no applet, with that reason.
//
//   node package_test.mjs --web <build>/web
import assert from 'node:assert/strict';
import { runBrowserTest, cases } from './browser.mjs';
import { makeZip } from './zip.mjs';
import { page as makePage, parseArguments, stageSite, waitRunning } from './support.mjs';

const options = parseArguments();
// Stored name → where it must land below the package folder.
const hostile = [
  ['../up.txt', 'up.txt'],
  ['../../../../qv/escaped.txt', 'qv/escaped.txt'],
  ['/abs.txt', 'abs.txt'],
  ['/tmp/abs-tmp.txt', 'tmp/abs-tmp.txt'],
  ['C:\\drive.txt', 'drive.txt'],
  ['C:/Windows/win.ini', 'Windows/win.ini'],
  ['d/../../f.txt', 'f.txt'],
  ['..\\..\\back.txt', 'back.txt'],
  ['\\\\server\\share\\unc.txt', 'server/share/unc.txt'],
  ['sub/dir/ok.txt', 'sub/dir/ok.txt'],
];
const packageBytes = makeZip([
  { name: 'qveapp.cfg', data: 'main_web=../helloapplet.qvm\r\n' },
  { name: 'helloapplet.qvm', data: 'compiled into the bundle\n' },
  ...hostile.map(([name], i) => ({ name, data: `entry ${i}\n` })),
]);
const site = stageSite(options.web, {
  'hostile.qva': packageBytes,
  'no-model.qva': makeZip([
    { name: 'qveapp.cfg', data: 'main_web=spinnerapplet.qvm\n' },
    { name: 'spinnerapplet.qvm', data: 'compiled into the bundle\n' },
  ]),
  'big-config.qva': makeZip([
    { name: 'qveapp.cfg', data: 'main_web=helloapplet.qvm\n' + '#'.repeat(1 << 20) },
    { name: 'helloapplet.qvm', data: 'compiled into the bundle\n' },
  ]),
  'package-test.html': makePage(
    // The whole file system of the bundle is looked into: on the page's thread.
    '<embed id="hostile" type="application/qv-applet" src="hostile.qva" bundle="hello" thread="main" width="200" height="100">' +
    '<embed id="no-model" type="application/qv-applet" src="no-model.qva" bundle="spinner" width="200" height="100">' +
    '<embed id="big-config" type="application/qv-applet" src="big-config.qva" bundle="hello" width="200" height="100">'),
});

await runBrowserTest('web hostile package', { root: site }, async (browser) => {
  const page = await browser.open('package-test.html');
  const number = await waitRunning(page, '#hostile');
  const folder = `/qv/applet-${number}`;
  // Every file of the virtual file system but the system's own folders.
  const files = await page.eval(`(() => {
    const FS = document.querySelector('#hostile').qvApplet.module.FS;
    const found = [];
    const walk = (dir) => {
      for (const name of FS.readdir(dir)) {
        if (name === '.' || name === '..') continue;
        const full = (dir === '/' ? '' : dir) + '/' + name;
        if (['/dev', '/proc'].includes(full)) continue;
        const mode = FS.stat(full).mode;
        if (FS.isDir(mode)) walk(full); else found.push(full);
      }
    };
    walk('/');
    return found.sort(); })()`);

  await cases([
    ...hostile.map(([stored, expected], i) => ({
      name: `"${stored}" lands in the folder as ${expected}`,
      run: async () => {
        const text = await page.eval(`document.querySelector('#hostile').qvApplet.module.FS
          .readFile('${folder}/${expected}', { encoding: 'utf8' })`);
        assert.equal(text, `entry ${i}\n`);
      },
    })),
    { name: 'nothing outside the package folder',
      run: () => {
        const outside = files.filter((f) => !f.startsWith(folder + '/'));
        assert.deepEqual(outside, []);
      } },
    { name: 'the folder holds the entries, the package and the applet\'s report only',
      run: () => {
        const expected = ['hostile.qva', 'qveapp.cfg', 'helloapplet.qvm', 'hello-applet.txt',
                          ...hostile.map(([, e]) => e)].map((f) => `${folder}/${f}`).sort();
        assert.deepEqual(files, expected);
      } },
    { name: 'a package without its model: the applet\'s message box, answered by a click, ends it',
      run: async () => {
        await waitRunning(page, '#no-model');
        const text = await page.waitFor(`(() => { const d = document.querySelector('dialog[open]');
          return d && d.textContent; })()`);
        assert.match(text, /The spinner cannot start: no loader module read the model \/qv\/applet-\d+\/spinner\.3ds/);
        assert.equal(await page.eval('document.querySelector("#no-model").qvApplet.state'), 'running');
        await page.click('dialog[open] button');
        await page.waitFor('document.querySelector("#no-model").qvApplet.state === "ended"');
        assert.equal(await page.eval('!!document.querySelector("dialog[open]")'), false);
      } },
    { name: 'a configuration larger than 1 MiB starts no applet and says so',
      run: async () => {
        await page.waitFor('document.querySelector("#big-config").qvApplet?.state === "failed"');
        assert.match(await page.eval('document.querySelector("#big-config").qvApplet.message'),
                     /the configuration qveapp\.cfg is larger than 1 MiB/);
      } },
  ], (c) => c.run());
});
