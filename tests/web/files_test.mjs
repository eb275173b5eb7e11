// Saved files: what an applet writes under its folder survives a reload with the same profile
// (persist="false": nothing does), exportFiles gives the kept files as a zip and importFiles
// puts one back, refusing archives whose names leave the folder or whose sizes lie.
//
//   node files_test.mjs --web <build>/web
import assert from 'node:assert/strict';
import { runBrowserTest, cases } from './browser.mjs';
import { makeZip } from './zip.mjs';
import { page as makePage, parseArguments, stageSite, waitRunning, readAppletFile } from './support.mjs';

const options = parseArguments();
const site = stageSite(options.web, {
  'files.html': makePage(
    '<embed id="kept" type="application/qv-applet" src="hello.qva" width="160" height="100">' +
    '<embed id="lost" type="application/qv-applet" src="hello.qva?x" width="160" height="100" ' +
    'persist="false">'),
});
// Writes as the applet would, into its folder (@temp_path): in its worker, or in its bundle's
// file system on the page's thread.
const write = (id, name, text) => `(() => { const r = document.getElementById('${id}').qvApplet;
  if (r.writeFile) return r.writeFile('${name}', ${JSON.stringify(text)}).then(() => 1);
  r.module.FS.mkdirTree((r.directory + '/${name}').replace(/\\/[^/]*$/, ''));
  r.module.FS.writeFile(r.directory + '/${name}', ${JSON.stringify(text)}); return 1; })()`;
const importZip = (id, zip) => `QVApplets.importFiles(document.getElementById('${id}'),
  new Blob([Uint8Array.from(atob('${zip.toString('base64')}'), (c) => c.charCodeAt(0))]))
  .then((n) => n, (e) => 'refused: ' + e.message)`;

await runBrowserTest('web files', { root: site }, async (browser) => {
  const tab = await browser.open('files.html');
  const start = async () => {
    await waitRunning(tab, '#kept');
    await waitRunning(tab, '#lost');
  };
  await start();
  await cases([
    { name: 'written files survive a reload; persist="false" keeps none',
      run: async () => {
        await tab.eval(write('kept', 'scores.txt', 'ann 12'));
        await tab.eval(write('kept', 'saves/slot1.dat', 'level 3'));
        await tab.eval(write('lost', 'scores.txt', 'bob 7'));
        await tab.waitFor(`document.getElementById('kept').qvApplet.savedAt`);
        await tab.goto('files.html');
        await start();
        assert.equal(await readAppletFile(tab, '#kept', 'scores.txt'), 'ann 12');
        assert.equal(await readAppletFile(tab, '#kept', 'saves/slot1.dat'), 'level 3');
        assert.equal(await readAppletFile(tab, '#lost', 'scores.txt'), null);
      } },
    { name: 'exportFiles gives a zip of them that importFiles puts back',
      run: async () => {
        const count = await tab.eval(`QVApplets.exportFiles(document.getElementById('kept'))
          .then((zip) => QVApplets.importFiles(document.getElementById('lost'), zip))`);
        assert.equal(count, 3);  // and the report the hello applet writes at its start
        assert.equal(await readAppletFile(tab, '#lost', 'saves/slot1.dat'), 'level 3');
      } },
    { name: 'archives that leave the folder or lie are refused whole',
      run: async () => {
        // entries, what the import answers
        const table = [
          [[{ name: 'ok.txt', data: 'a' }, { name: '../evil.txt', data: 'b' }], /leaves the folder/],
          [[{ name: '/abs.txt', data: 'b' }], /leaves the folder/],
          [[{ name: 'a\\b.txt', data: 'b' }], /leaves the folder/],
          [[{ name: `${'d/'.repeat(40)}f`, data: 'b' }], /leaves the folder/],
        ];
        for (const [entries, answer] of table)
          assert.match(String(await tab.eval(importZip('lost', makeZip(entries)))), answer);
        // A size that lies: the central directory claims more than the entry holds.
        const lying = makeZip([{ name: 'big.txt', data: 'tiny' }]);
        lying.writeUInt32LE(1 << 30, lying.length - 22 - 46 - 7 + 24);
        assert.match(String(await tab.eval(importZip('lost', lying))), /refused/);
        assert.equal(await readAppletFile(tab, '#lost', 'ok.txt'), null);
      } },
  ], (c) => c.run());
});
