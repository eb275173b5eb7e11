// The page script qvapplet.js on its own, with a stand-in bundle (fixtures/fakeapplet.js): which
// elements become applets, their areas and host elements, the bundle each loads, the package in
// the instance's file system, the parameters in page order, failures, elements added later and
// OpenURL's event. And markup that names inline or foreign script as a bundle (fixtures/
// injection.html, with a second server for the foreign origin): nothing of it runs.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { runBrowserTest, cases } from './browser.mjs';
import { serveFolder } from './server.mjs';
import { stageSite } from './support.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const site = stageSite(path.join(here, 'fixtures'), {
  'qvapplet.js': fs.readFileSync(path.join(here, '../../plugin/web/qvapplet.js')),
});

const fake = fs.readFileSync(path.join(here, 'fixtures/fakeapplet.js'), 'utf8');
const foreignSite = stageSite(path.join(here, 'fixtures'), {
  'foreign.js': fake.replace('QVApplet_fakeapplet', 'QVApplet_foreign'), 'foreign.qva': 'PK',
});

const record = (page, id) => page.eval(`(() => {
  const r = document.getElementById('${id}').qvApplet;
  return r ? { number: r.number, state: r.state, message: r.message, directory: r.directory,
                packagePath: r.packagePath, args: r.module && r.module.arguments,
                files: r.module && r.module.FS ? Array.from(r.module.FS.files.keys()) : null } : null; })()`);

await runBrowserTest('web player script', { root: site }, async (browser) => {
  const page = await browser.open('player.html');
  await page.waitFor(`['one', 'two', 'no-src', 'no-package', 'no-bundle'].every((id) =>
    ['running', 'failed'].includes(document.getElementById(id).qvApplet?.state))`);

  await cases([
    { name: 'an embed: area after it, host element, package in its folder, attributes in order',
      run: async () => {
        const r = await record(page, 'one');
        assert.equal(r.state, 'running');
        assert.equal(r.directory, `/qv/applet-${r.number}`);
        assert.equal(r.packagePath, `${r.directory}/fakeapplet.qva`);
        assert.deepEqual(r.args, [r.packagePath, String(r.number), '120', '80',
          'id', 'one', 'type', 'application/qv-applet', 'src', 'fakeapplet.qva',
          'width', '120', 'height', '80', 'b', '2', 'a', '1']);
        assert.ok(r.files.includes(r.packagePath));
        const layout = await page.eval(`(() => {
          const e = document.getElementById('one'), host = document.getElementById('qvwin-${r.number}');
          const canvas = host.firstElementChild, box = host.getBoundingClientRect();
          return { hidden: getComputedStyle(e).display, after: e.nextElementSibling.contains(host),
                   canvas: canvas.id, size: [canvas.width, canvas.height, box.width, box.height],
                   state: e.getAttribute('data-qv-state') }; })()`);
        assert.deepEqual(layout, { hidden: 'none', after: true, canvas: `qvwin-${r.number}-canvas`,
                                   size: [120, 80, 120, 80], state: 'running' });
      } },
    { name: 'a qv-applet: area inside it, the bundle attribute, the default size',
      run: async () => {
        const r = await record(page, 'two');
        assert.equal(r.state, 'running');
        assert.equal(r.packagePath, `/qv/applet-${r.number}/data.qva`);
        assert.deepEqual(r.args.slice(2, 4), ['320', '200']);
        assert.equal(await page.eval(
          `document.getElementById('two').contains(document.getElementById('qvwin-${r.number}'))`), true);
      } },
    { name: 'one bundle script for several elements',
      run: async () => {
        assert.equal(await page.eval(
          'document.querySelectorAll(\'script[src$="fakeapplet.js"]\').length'), 1);
      } },
    { name: 'other embeds are left alone',
      run: async () => assert.equal(await record(page, 'other-type'), null) },
    ...[
      ['no-src', /no src/],
      ['no-package', /cannot fetch .*missing\.qva \(404\)/],
      ['no-bundle', /cannot load the applet bundle .*nothing\/here\.js/],
    ].map(([id, message]) => ({
      name: `failure: ${id}`,
      run: async () => {
        const r = await record(page, id);
        assert.equal(r.state, 'failed');
        assert.match(r.message, message);
      },
    })),
    { name: 'states are announced with events',
      run: async () => {
        const states = await page.eval('states');
        assert.ok(states.some(([id, s]) => id === 'one' && s === 'running'));
        assert.ok(states.some(([id, s]) => id === 'no-src' && s === 'failed'));
      } },
    { name: 'host element numbers come from the page-wide counter',
      run: async () => {
        const numbers = await page.eval('QVApplets.all().map((r) => r.number)');
        assert.equal(new Set(numbers).size, numbers.length);
        assert.equal(await page.eval('globalThis.__qvNextWindowId'), Math.max(...numbers) + 1);
      } },
    { name: 'an element added later starts too',
      run: async () => {
        await page.eval(`document.body.insertAdjacentHTML('beforeend',
          '<embed id="late" type="application/qv-applet" src="fakeapplet.qva" width="50" height="40">')`);
        await page.waitFor('document.getElementById("late").qvApplet?.state === "running"');
        assert.equal(await page.eval('fakeStarts'), 3);
      } },
    { name: 'OpenURL: the handler can take it; else window.open gets url and target',
      run: async () => {
        const result = await page.eval(`(() => {
          const config = document.getElementById('one').qvApplet.module, seen = [];
          const opened = [];
          window.open = (url, target) => { opened.push([url, target]); return window; };
          const take = (e) => { seen.push([e.target.id, e.detail.url, e.detail.target]); e.preventDefault(); };
          document.addEventListener('qv-openurl', take);
          const taken = config.qvOpenURL(1, 'http://a.example/', 'frame1');
          document.removeEventListener('qv-openurl', take);
          const passed = config.qvOpenURL(1, 'http://b.example/', '_blank');
          window.open = () => null;  // a blocked pop-up
          const blocked = config.qvOpenURL(1, 'http://c.example/', '_blank');
          return { seen, opened, taken, passed, blocked }; })()`);
        assert.deepEqual(result, {
          seen: [['one', 'http://a.example/', 'frame1']], opened: [['http://b.example/', '_blank']],
          taken: true, passed: true, blocked: false,
        });
      } },
  ], (c) => c.run());

  const requests = [];
  const foreign = await serveFolder(foreignSite, { log: requests });
  try {
    const other = foreign.url.slice(0, -1);
    const hostile = await browser.open(`injection.html?other=${encodeURIComponent(other)}`);
    const outcome = (id) => hostile.waitFor(`(() => { const r = document.getElementById('${id}')
      ?.qvApplet; return r?.state === 'running' ? 'running' : r?.state === 'failed' &&
      (/is not of this page's origin/.test(r.message) ? 'refused' : r.message); })()`);
    await cases([
      ...['data-src', 'data-bundle', 'protocol-relative', 'foreign', 'based', 'same'].map((id) => ({
        name: `inserted markup: ${id}`,
        run: async () => assert.equal(await outcome(id), id === 'same' ? 'running' : 'refused') })),
      { name: 'no inserted script ran, nothing came from elsewhere; an allowed origin serves',
        run: async () => {
          assert.equal(await hostile.eval('document.title'), 'injection fixture');
          assert.deepEqual(requests, []);
          await hostile.eval(`QVApplets.config.allowedBundleOrigins = ['${other}'];
            document.body.insertAdjacentHTML('beforeend', '<qv-applet id="allowed"' +
              ' src="' + location.origin + '/fakeapplet.qva" bundle="foreign"></qv-applet>')`);
          assert.equal(await outcome('allowed'), 'running');
          assert.deepEqual(requests.map((r) => r.path), ['/foreign.js']);
        } },
    ], (c) => c.run());
  } finally {
    await foreign.close();
  }
});
