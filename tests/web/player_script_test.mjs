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
const fake = fs.readFileSync(path.join(here, 'fixtures/fakeapplet.js'), 'utf8');
const wasm = Buffer.from([0, 0x61, 0x73, 0x6d, 1, 0, 0, 0]);  // an empty module
const site = stageSite(path.join(here, 'fixtures'), {
  'qvapplet.js': fs.readFileSync(path.join(here, '../../plugin/web/qvapplet.js')),
  'fakeapplet.wasm': wasm, 'nofactory.js': 'var notAFactory = 1;', 'nofactory.wasm': wasm,
  'badcode.js': fake.replace('QVApplet_fakeapplet', 'QVApplet_badcode'), 'badcode.wasm': 'PK',
  'textwasm.js': fake.replace('QVApplet_fakeapplet', 'QVApplet_textwasm'), 'textwasm.wasm': wasm,
  // A bundle beside its package, as pages of the earlier player have it.
  'old/earlier.js': fake.replace('QVApplet_fakeapplet', 'QVApplet_earlier'), 'old/earlier.wasm': wasm,
  'old/earlier.qva': 'PK',
  // Package names of old pages, in other cases.
  ...Object.fromEntries(['fakeapplet.QVA', 'fakeapplet.Qva'].map((name) =>
    [name, fs.readFileSync(path.join(here, 'fixtures/fakeapplet.qva'))])),
});
// A server that does not know .wasm.
const serve = { headers: (url) => (url.startsWith('/textwasm.wasm') ? { 'Content-Type': 'text/plain' } : {}) };
const foreignSite = stageSite(path.join(here, 'fixtures'), {
  'foreign.js': fake.replace('QVApplet_fakeapplet', 'QVApplet_foreign'), 'foreign.wasm': wasm,
  'foreign.qva': 'PK',
});

const record = (page, id) => page.eval(`(() => {
  const r = document.getElementById('${id}').qvApplet;
  return r ? { number: r.number, state: r.state, message: r.message, directory: r.directory,
                packagePath: r.packagePath, args: r.module && r.module.arguments,
                files: r.module && r.module.FS ? Array.from(r.module.FS.files.keys()) : null } : null; })()`);

await runBrowserTest('web player script', { root: site, serve }, async (browser) => {
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

  // Markup of the plug-in's days: one applet per element, the right ones, sized and with their
  // parameters; frames of the page's origin; detection scripts see the plug-in.
  const old = await browser.open('markup.html');
  const ids = ['obj', 'untyped', 'by-source', 'cased', 'styled', 'inner-fallback', 'beside',
               'activex', 'no-height'];
  const states = (tab, list) => tab.waitFor(`(() => { const s = ${JSON.stringify(list)}.map((id) =>
    document.getElementById(id).qvApplet?.state); return s.every((x) => x && x !== 'loading') && s; })()`);
  await cases([
    { name: 'old markup: each applet plays once, fallbacks and other types do not',
      run: async () => {
        assert.deepEqual(await states(old, ids), ids.map(() => 'running'));
        assert.equal(await old.eval(`['fallback', 'other'].filter((id) =>
          document.getElementById(id).qvApplet).length + ',' +
          document.querySelectorAll('.qv-applet-area').length`), `0,${ids.length}`);
      } },
    { name: 'an object: data, params after the attributes, percent width',
      run: async () => assert.deepEqual((await record(old, 'obj')).args.slice(1).slice(1), [
        '640', '90', 'id', 'obj', 'type', 'Application/QV-Applet', 'data', 'fakeapplet.qva',
        'width', '50%', 'height', '90', 'b', '2', 'a', '1']) },
    ...[['untyped', '40', '30'], ['by-source', '320', '200'], ['cased', '200', '200'],
        ['styled', '70', '60'], ['no-height', '30', '200']].map(([id, w, h]) => ({
      name: `size of ${id}: ${w} x ${h}, as the applet's and on the page`,
      run: async () => assert.deepEqual([...(await record(old, id)).args.slice(2, 4), ...await old.eval(
        `(({ width, height }) => [width, height].map(String))(document.getElementById('${id}')
          .qvApplet.area.getBoundingClientRect())`)], [w, h, w, h]) })),
    { name: 'without a bundle beside the script, the one beside the package',
      run: async () => assert.match(await old.eval(
        `document.getElementById('beside').qvApplet.bundle.script.href`), /\/old\/earlier\.js$/) },
    { name: 'an applet in a frame of the page\'s origin plays',
      run: async () => assert.equal(await old.waitFor(`document.getElementById('frame')
        .contentDocument?.getElementById('framed')?.qvApplet?.state === 'running'`), true) },
    { name: 'detection scripts find the plug-in',
      run: async () => assert.deepEqual(await old.eval(`[
        navigator.mimeTypes['application/qv-applet'].enabledPlugin.name,
        navigator.mimeTypes.namedItem('application/qv-applet').suffixes,
        Array.from(navigator.plugins).some((p) => p.name === 'npqvarunner' && p[0].type ===
          'application/qv-applet'), navigator.plugins.length > 0]`),
        ['npqvarunner', 'qva', true, true]) },
  ], (c) => c.run());

  const requests = [];
  // The foreign origin serves bundles' code with CORS (as an allowed one must), packages without.
  const foreign = await serveFolder(foreignSite, { log: requests, headers: (url) =>
    (url.endsWith('.wasm') ? { 'Access-Control-Allow-Origin': '*' } : {}) });
  try {
    const other = foreign.url.slice(0, -1);
    // Failures: the panel with its code and what to do, nothing uncaught.
    const failing = await browser.open(`failures.html?other=${encodeURIComponent(other)}`);
    const panel = (tab, id) => tab.waitFor(`(() => { const r = document.getElementById('${id}')
      ?.qvApplet, p = r?.area?.querySelector('.qv-panel'); return r && r.state !== 'loading' &&
      [r.state, p?.dataset.qvCode, p?.innerText || ''].join('|'); })()`);
    const failed = (tab, id, code, text) => ({ name: `failure panel: ${id}`, run: async () => {
      const [state, shown, words] = (await panel(tab, id)).split('|');
      assert.deepEqual([state, shown], ['failed', code]);
      assert.match(words, text);
      assert.match(words, /Copy details/);
    } });
    await cases([
      failed(failing, 'no-src', 'QV-NO-SRC', /No applet package/),
      failed(failing, 'not-found', 'QV-NOT-FOUND', /not found[^]*missing\.qva \(404\)/),
      failed(failing, 'network', 'QV-NETWORK', /Network failure/),
      failed(failing, 'cors', 'QV-NETWORK', /CORS/),
      failed(failing, 'no-bundle', 'QV-NO-BUNDLE', /nothing\/here\.js/),
      failed(failing, 'no-factory', 'QV-NO-FACTORY', /defines no QVApplet_nofactory/),
      failed(failing, 'bad-code', 'QV-BAD-BUNDLE', /cannot compile .*badcode\.wasm/),
      { name: 'code served as text/plain compiles from its bytes',
        run: async () => assert.equal((await panel(failing, 'text-wasm')).split('|')[0], 'running') },
      { name: 'copy details gives the code and the message',
        run: async () => {
          await failing.click('#not-found .qv-panel button');
          const copied = await failing.waitFor(`(() => { const p = document.querySelector(
            '#not-found .qv-panel'); return p.querySelector('textarea')?.value ||
            (p.querySelector('button').textContent === 'Copied' && 'copied'); })()`);
          if (copied !== 'copied') assert.match(copied, /^QV-NOT-FOUND: [^]*missing\.qva \(404\)/);
        } },
      { name: 'a page opened from a file says so',
        run: async () => {
          const local = await browser.open(`file://${fs.realpathSync(site)}/player.html`);
          assert.equal((await panel(local, 'one')).split('|')[1], 'QV-FILE-PAGE');
        } },
      { name: 'WebGL: none in the browser; beyond the page\'s contexts',
        run: async () => {
          const none = await browser.open('webgl.html?none');
          assert.equal((await panel(none, 'gl0')).split('|')[1], 'QV-NO-WEBGL');
          const many = await browser.open('webgl.html');
          const all = Array.from({ length: 20 }, (_, i) => `gl${i}`);
          await states(many, all);
          const codes = await many.eval(`${JSON.stringify(all)}.map((id) =>
            document.getElementById(id).qvApplet.code || 'running')`);
          assert.deepEqual(codes, [...Array(16).fill('running'), ...Array(4).fill('QV-WEBGL-LIMIT')]);
        } },
      { name: 'no failure reached the page as an uncaught error',
        run: async () => {
          for (const tab of browser.pages.values())
            assert.deepEqual(tab.console.filter((line) => /^exception/.test(line)), []);
        } },
    ], (c) => c.run());

    const hostile = await browser.open(`injection.html?other=${encodeURIComponent(other)}`);
    const outcome = (id) => hostile.waitFor(`(() => { const r = document.getElementById('${id}')
      ?.qvApplet; return r?.state === 'running' ? 'running' : r?.state === 'failed' && r.code; })()`);
    const scripts = () => requests.map((r) => r.path).filter((p) => /\.js$/.test(p));
    await cases([
      // Without a bundle attribute the bundle is looked for beside qvapplet.js, on the page's
      // origin, whatever the package's address.
      ...[['data-src', 'QV-NO-BUNDLE'], ['data-bundle', 'QV-ORIGIN'],
          ['protocol-relative', 'QV-NO-BUNDLE'], ['foreign', 'QV-ORIGIN'], ['based', 'QV-ORIGIN'],
          ['same', 'running']].map(([id, expected]) => ({
        name: `inserted markup: ${id}`,
        run: async () => assert.equal(await outcome(id), expected) })),
      { name: 'no inserted script ran, no script came from elsewhere; an allowed origin serves',
        run: async () => {
          assert.equal(await hostile.eval('document.title'), 'injection fixture');
          assert.deepEqual(scripts(), []);
          await hostile.eval(`QVApplets.config.allowedBundleOrigins = ['${other}'];
            document.body.insertAdjacentHTML('beforeend', '<qv-applet id="allowed"' +
              ' src="' + location.origin + '/fakeapplet.qva" bundle="foreign"></qv-applet>')`);
          assert.equal(await outcome('allowed'), 'running');
          assert.deepEqual(scripts(), ['/foreign.js']);
        } },
    ], (c) => c.run());
  } finally {
    await foreign.close();
  }
});
