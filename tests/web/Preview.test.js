// The page without the shell: in an ordinary browser, with the host object withdrawn, and opened
// from a file:// address as the shell opens it. It must say so plainly and stay usable.

import assert from 'node:assert/strict';
import path from 'node:path';
import { test } from 'node:test';
import { pathToFileURL } from 'node:url';
import { Calls, Eventually, kSamplePlaylist, kWebRoot, OpenPlayer, SharedBrowser, StartBrowser } from './Harness.js';

const shared = SharedBrowser();

test('an ordinary browser gets a plain preview notice, a working list and no errors', async () => {
  const { page, errors, outside } = await OpenPlayer(shared.browser, shared.server, { mode: 'absent' });
  assert.equal(await page.isVisible('#preview-banner'), true);
  assert.match(await page.textContent('#preview-banner'), /ordinary browser, not in the Vendrak shell/);
  // The browser's own file picker stands in for the shell's dialog.
  const chooser = page.waitForEvent('filechooser');
  await page.click('#open-playlist');
  await (await chooser).setFiles({ name: 'tv.m3u', mimeType: 'audio/x-mpegurl', buffer: Buffer.from(kSamplePlaylist) });
  await page.waitForSelector('.channel');
  assert.equal(await page.locator('.channel').count(), 4);
  await page.click('.channel:has-text("Classic Cinema")');
  assert.equal(await page.textContent('#state-badge'), 'Preview');
  assert.match(await page.textContent('#idle-hint'), /Classic Cinema would play here/);
  for (const id of ['#play-pause', '#stop', '#mute', '#scale-mode', '#pip-button', '#stats-button', '#audio-menu-button']) {
    await page.click(id);
    await page.keyboard.press('Escape');
  }
  await page.click('#show-about');
  assert.match(await page.textContent('#about-version'), /Not available in the preview/);
  await page.keyboard.press('Escape');
  await page.click('#quit');
  assert.match(await page.textContent('#toast'), /no window to close/);
  assert.deepEqual(errors, []);
  assert.deepEqual(outside.filter((url) => !url.startsWith('http://logos.example/')), []);
  await page.close();
});

test('a withdrawn host object (another address than the start address) means preview, not failure', async () => {
  const { page, errors } = await OpenPlayer(shared.browser, shared.server, {
    mode: 'withdrawn',
    storage: { playlist: { name: 'tv.m3u', source: { kind: 'text' }, text: kSamplePlaylist } },
  });
  assert.match(await page.textContent('#preview-banner'), /did not expose its nodeJs host object/);
  await page.click('.channel:has-text("Market Watch")');
  assert.equal(await page.textContent('#state-badge'), 'Preview');
  // Only the first probe reached the proxy: a preview page does not keep calling a missing object.
  assert.deepEqual(await Calls(page), [['async', 'getVersionInfo']]);
  assert.deepEqual(errors, []);
  await page.close();
});

test('the page loads nothing from elsewhere', async () => {
  const { page, outside } = await OpenPlayer(shared.browser, shared.server, {});
  await page.click('#show-settings');
  await page.keyboard.press('Escape');
  await page.click('#show-about');
  assert.deepEqual(outside, []);
  await page.close();
});

test('from a file:// address: runs with the shell\'s switches, explains itself without them', async () => {
  const address = pathToFileURL(path.join(kWebRoot, 'index.html')).href;
  const shellLike = await StartBrowser(['--disable-web-security', '--allow-running-insecure-content']);
  try {
    const page = await shellLike.context.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    await page.goto(address);
    await page.waitForSelector('body[data-ready="true"]');
    assert.equal(await page.isVisible('.icon-button'), true);
    assert.deepEqual(errors, []);
  } finally {
    await shellLike.close();
  }
  const page = await shared.browser.context.newPage();
  await page.goto(address);
  const started = await page.evaluate(() => document.documentElement.dataset.started === 'true');
  if (!started) {
    // This browser refuses modules from file:// pages: the page must say what to do instead.
    await Eventually(async () => assert.match(await page.textContent('#preview-banner'), /file:\/\/ address/), 5000);
    assert.equal(await page.isVisible('#preview-banner'), true);
  }
  await page.close();
});
