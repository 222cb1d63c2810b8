// The addresses the shell compares navigations with, checked against what Chromium reports: the start
// addresses the build accepts (tools/canonical-address.mjs) and the default file:/// address made from
// the program's folder (services/FileAddress.cpp, through the native file_address_print).

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { describe, test } from 'node:test';
import { CanonicalAddress } from '../../tools/canonical-address.mjs';
import { SharedBrowser } from './Harness.js';

const shared = SharedBrowser();

/** Chromium's canonical form of each address (null where it refuses one). */
async function ChromiumForms(addresses) {
  const page = await shared.browser.context.newPage();
  try {
    return await page.evaluate((list) => list.map((address) => {
      try {
        return new URL(address).href;
      } catch {
        return null;
      }
    }), addresses);
  } finally {
    await page.close();
  }
}

describe('start addresses set by the build', () => {
  const addresses = [
    'https://tv.example', 'HTTPS://TV.Example.com/App/', 'https://tv.example.com/Vendrak Tést/index.html?chan=%e4',
    'https://tëst.example/', 'https://faß.example/', 'https://tv.example:443/', 'https://tv.example:8443/x',
    'http://127.1/', 'http://0x7f.0.0.1/', 'http://[0:0::1]:80/', 'https://tv.example./', 'https://user:pa ss@tv.example/',
    'https://tv.example/a/./b/../c', 'https://tv.example/a%2E/b', 'https://tv.example/%41pp/%7e%zz', 'https://tv.example/a\\b',
    'https://tv.example/a^b|c', 'https://tv.example/a{b}`c\'d"e<f>[g]', 'https://tv.example/?q=a\'b`c{d}e^f|g"h',
    'https://tv.example/#a b`c{d}<e>"f', 'https://tv.example/é?é#é', 'https://tv.example/a\tb', 'file:///C:/a b/index.html',
  ];
  test('the form the build asks for is the one Chromium reports, and Chromium keeps it', async () => {
    const canonical = addresses.map(CanonicalAddress);
    const reported = await ChromiumForms(addresses);
    const again = await ChromiumForms(canonical);
    for (const [i, address] of addresses.entries()) {
      assert.equal(canonical[i], reported[i], address);
      assert.equal(again[i], canonical[i], address);
    }
  });
});

describe('the default start address', () => {
  const folders = ['Vendrak TV', 'Fernsehäpp', '日本', 'a#b', '50%', '%41', 'a^b', '{x}', 'a`b', 'a b#c%d^e{f}g`h ä'];
  test('is what Chromium reports for the program folder', async () => {
    const paths = folders.map((folder) => `C:\\Program Files\\${folder}\\web\\index.html`);
    const ours = execFileSync(process.env.VENDRAK_FILE_ADDRESS_PRINT, { input: `${paths.join('\n')}\n`, encoding: 'utf8' })
      .trimEnd()
      .split('\n');
    // Chromium writes everything else itself once what would end the path is escaped.
    const plain = folders.map((folder) => `file:///C:/Program Files/${folder.replace(/%/g, '%25').replace(/#/g, '%23')}/web/index.html`);
    assert.deepEqual(ours, await ChromiumForms(plain));
  });
});
