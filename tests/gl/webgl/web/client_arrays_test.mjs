// The web GL layer's vertex arrays draw what its immediate mode draws: the page
// (ClientArraysPage.cpp) draws every case both ways and counts the pixels that differ.
//
//   node client_arrays_test.mjs <page folder>
import assert from 'node:assert/strict';
import { runBrowserTest, cases } from '../../../web/browser.mjs';

await runBrowserTest('webgl client arrays', { root: process.argv[2] }, async (browser) => {
  const page = await browser.open('client_arrays.html');
  const rows = await page.waitFor('window.qvArrayCases', { timeout: 60000 });
  assert.ok(rows.length > 1, JSON.stringify(rows));
  // Each row: name, pixels that differ, GL error, pixels immediate mode drew (-1: none expected).
  await cases(rows.map(([name, differing, error, drawn]) => ({ name, differing, error, drawn })),
              async ({ differing, error, drawn }) => {
                assert.equal(error, 0, 'GL error');
                assert.equal(differing, 0, 'pixels that differ');
                assert.ok(drawn === -1 || drawn > 200, `immediate mode drew ${drawn} pixels`);
              });
});
