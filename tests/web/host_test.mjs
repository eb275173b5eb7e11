// The web player's host side with the plug-in tests' probe applet: OpenURL refuses script URLs
// before the page sees them; the applets of a page unpack within one limit together; an applet
// out of memory shows its panel and nothing reaches the page uncaught.
//   node host_test.mjs --web <build>/web --probe <folder of probe.js, .wasm and .qva>
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { runBrowserTest, cases } from './browser.mjs';
import { makeZip } from './zip.mjs';
import { page, parseArguments, stageSite, waitAppletFile } from './support.mjs';

const options = parseArguments();
const embed = (id, src, more = '') =>
  `<embed id="${id}" type="application/qv-applet" src="${src}" bundle="probe" ${more}>`;
const urls = { js: "javascript:title='x'", vb: ' \tVB\nScript:x', data: 'DATA:,x',
               http: 'http://example.com/' };
const site = stageSite(options.web, { ...Object.fromEntries(['probe.js', 'probe.wasm', 'probe.qva']
  .map((file) => [file, fs.readFileSync(`${options.probe}/${file}`)])),
  'zeros.qva': makeZip([{ name: 'qveapp.cfg', data: 'main_web=probeapplet.qvm\n' },
    { name: 'probeapplet.qvm', data: '-' }, { name: 'zeros', data: Buffer.alloc(1 << 20) }]),
  'openurl.html': page(Object.entries(urls).map(([id, url]) =>
    embed(id, 'probe.qva', `openurl="${url}"`)).join(''), `window.seen = [];
    addEventListener('qv-openurl', (e) => seen.push(e.detail.url) && e.preventDefault());`),
  // 2.5 MiB for the page: two of the five packages' 1 MiB files fit.
  'memory.html': page(embed('hog', 'probe.qva', 'hog="1"')),
  'budget.html': page('abcde'.split('').map((id) => embed(id, 'zeros.qva')).join(''),
                      'QVApplets.config.unpackLimit = 2.5 * 2 ** 20;'),
});
const state = (id) => `document.getElementById('${id}').qvApplet?.state`;

await runBrowserTest('web host', { root: site }, async (browser) => cases([
  { name: 'OpenURL refuses javascript:, vbscript: and data: unseen by the page', run: async () => {
    const tab = await browser.open('openurl.html');
    for (const id of Object.keys(urls))
      assert.match(await waitAppletFile(tab, `#${id}`, 'probe-applet.txt'),
                   id === 'http' ? /^openurl 1$/m : /^openurl 0$/m, id);
    assert.deepEqual(await tab.eval('[document.title, ...seen]'), ['test', urls.http]);
  } },
  { name: 'a page\'s applets unpack within its limit together, then none starts', run: async () => {
    const tab = await browser.open('budget.html');
    await tab.waitFor('abcde'.split('').map((id) => `${state(id)} === 'running'`).join(' && '),
                      { timeout: 60000 });
    // (An applet in a worker has its files there: asked for.)
    assert.equal(await tab.eval(`Promise.all(QVApplets.all().map((r) => (r.readFile
      ? r.readFile('zeros').then(() => true, () => false)
      : r.module.FS.analyzePath(r.directory + '/zeros').exists))).then((found) =>
      found.filter(Boolean).length)`), 2);
    await tab.eval(`QVApplets.config.unpackLimit = 1;
      document.body.insertAdjacentHTML('beforeend', '${embed('late', 'zeros.qva')}')`);
    await tab.waitFor(`${state('late')} === 'failed'`);
    assert.match(await tab.eval(state('late').replace('?.state', '.message')), /unpacked all/);
  } },
  { name: 'an applet out of memory: its panel, nothing uncaught', run: async () => {
    const tab = await browser.open('memory.html');
    await tab.waitFor(`${state('hog')} === 'failed'`, { timeout: 60000 });
    assert.equal(await tab.eval(state('hog').replace('?.state', '.code')), 'QV-MEMORY');
    await tab.eval('new Promise((done) => setTimeout(done, 500))');
    assert.deepEqual(tab.console.filter((line) => /^exception/.test(line)), []);
  } },
], (c) => c.run()));
