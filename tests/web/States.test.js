// What the shell's script calls (StateChange, vlc_bitrate, vlc_video_res) show in the page, sent as
// the exact script texts the shell executes, and the fading of the controls while playing.

import assert from 'node:assert/strict';
import { test } from 'node:test';
import { ClearCalls, Calls, Eventually, kSamplePlaylist, OpenPlayer, SharedBrowser, ShellScript } from './Harness.js';

const shared = SharedBrowser();

async function Playing(options = {}) {
  const opened = await OpenPlayer(shared.browser, shared.server, {
    ...options,
    storage: { playlist: { name: 'tv.m3u', source: { kind: 'text' }, text: kSamplePlaylist } },
  });
  await opened.page.click('.channel:has-text("World News HD")');
  return opened;
}

async function Badge(page) {
  return page.evaluate(() => {
    const badge = document.getElementById('state-badge');
    return {
      text: badge.textContent,
      state: badge.dataset.state,
      backdrop: document.body.classList.contains('is-idle-video'),
      button: document.getElementById('play-pause-label').textContent,
    };
  });
}

test('every state word the shell sends is shown', async () => {
  const { page, errors } = await Playing();
  const cases = [
    { script: "StateChange('opening', '');", want: { text: 'Opening…', state: 'opening', backdrop: false, button: 'Pause' } },
    { script: "StateChange('buffering', '0');", want: { text: 'Buffering 0%', state: 'buffering', backdrop: false, button: 'Pause' } },
    { script: "StateChange('buffering', '45');", want: { text: 'Buffering 45%', state: 'buffering', backdrop: false, button: 'Pause' } },
    { script: "StateChange('buffering', '');", want: { text: 'Buffering…', state: 'buffering', backdrop: false, button: 'Pause' } },
    { script: "StateChange('playing', '');", want: { text: 'Playing', state: 'playing', backdrop: false, button: 'Pause' } },
    { script: "StateChange('plaused', '');", want: { text: 'Paused', state: 'paused', backdrop: false, button: 'Play' } },
    { script: "StateChange('stopped', '');", want: { text: 'Stopped', state: 'stopped', backdrop: true, button: 'Play' } },
    { script: "StateChange('ended', '');", want: { text: 'Ended', state: 'ended', backdrop: true, button: 'Play' } },
    { script: "StateChange('error', '');", want: { text: 'Playback error', state: 'error', backdrop: true, button: 'Play' } },
    { script: "StateChange('rewinding', '');", want: { text: 'rewinding', state: 'unknown', backdrop: false, button: 'Play' } },
  ];
  for (const c of cases) {
    await ShellScript(page, c.script);
    assert.deepEqual(await Badge(page), c.want, c.script);
  }
  assert.match(await page.textContent('#toast'), /World News HD could not be played/);
  assert.deepEqual(errors, []);
  await page.close();
});

test('picture-in-picture states do not change the main state', async () => {
  const { page } = await Playing();
  await ShellScript(page, "StateChange('playing', '');");
  for (const word of ['opening_pip', 'buffering_pip', 'plaused_pip', 'stopped_pip']) {
    await ShellScript(page, `StateChange('${word}', '12');`);
    assert.equal((await Badge(page)).state, 'playing', word);
  }
  await page.close();
});

test('bit rate and picture size', async () => {
  const { page } = await Playing();
  const cases = [
    { script: 'vlc_bitrate(12);', id: '#bitrate', want: '12 Mb/s' },
    { script: 'vlc_bitrate(0);', id: '#bitrate', want: '' },
    { script: 'vlc_video_res(1920,1080,25);', id: '#video-res', want: '1920×1080 · 25 fps' },
    { script: 'vlc_video_res(1280,720,29);', id: '#video-res', want: '1280×720 · 29 fps' },
    // A frame rate below ten keeps its decimals in the shell's text.
    { script: 'vlc_video_res(640,480,5.000000);', id: '#video-res', want: '640×480 · 5 fps' },
    { script: 'vlc_video_res(0,0,0.000000);', id: '#video-res', want: '' },
  ];
  for (const c of cases) {
    await ShellScript(page, c.script);
    assert.equal(await page.textContent(c.id), c.want, c.script);
  }
  await page.close();
});

test('reaching playing places the picture again (libvlc made a new window)', async () => {
  const { page } = await Playing();
  await ClearCalls(page);
  await ShellScript(page, "StateChange('opening', '');StateChange('playing', '');");
  assert.deepEqual(await Calls(page, 'setVideoRect', 'fitVideo'), [['async', 'setVideoRect', 340, 0, 940, 720]]);
  await ShellScript(page, "StateChange('playing', '');");
  assert.equal((await Calls(page, 'setVideoRect')).length, 1, 'not again while it stays playing');
  await page.close();
});

test('odd calls from the shell do not break the page', async () => {
  const { page, errors } = await Playing();
  for (const script of ['StateChange();', 'StateChange(null, null);', "vlc_bitrate('x');", 'vlc_video_res();', "StateChange('__proto__', '');"]) {
    await ShellScript(page, script);
  }
  await ShellScript(page, "StateChange('playing', '');");
  assert.equal((await Badge(page)).text, 'Playing');
  assert.deepEqual(errors, []);
  await page.close();
});

test('controls fade after three quiet seconds of playing and return on a mouse move or Enter, with the focus', async () => {
  const { page } = await Playing();
  await page.mouse.move(700, 300);
  await ShellScript(page, "StateChange('playing', '');");
  await page.focus('#mute');
  const hidden = () => page.evaluate(() => document.body.classList.contains('controls-hidden'));
  const focused = () => page.evaluate(() => document.activeElement.id);
  await Eventually(async () => assert.equal(await hidden(), true), 6000);
  assert.equal(await focused(), '', 'the focus leaves the faded bar');
  await page.mouse.move(720, 320);
  assert.equal(await hidden(), false);
  assert.equal(await focused(), 'mute', 'and comes back with it');
  await Eventually(async () => assert.equal(await hidden(), true), 6000);
  await ClearCalls(page);
  await page.keyboard.press('Shift');
  await page.keyboard.press('Enter');
  assert.deepEqual(await Calls(page, 'setVolume'), [], 'Enter presses no control nobody can see');
  assert.equal(await hidden(), false);
  assert.equal(await focused(), 'play-pause');
  await ShellScript(page, "StateChange('plaused', '');");
  await page.waitForTimeout(3500);
  assert.equal(await hidden(), false, 'paused keeps the controls');
  await page.close();
});

test('a page reloaded while the shell plays shows it playing and keeps the player\'s volume', async () => {
  const { page } = await OpenPlayer(shared.browser, shared.server, {
    responses: { isPlaying: 1, getVolume: 35, getVideoSize: '1280x720' },
    storage: {
      playlist: { name: 'tv.m3u', source: { kind: 'text' }, text: kSamplePlaylist },
      channel: { url: 'http://streams.example/market.ts', name: 'Market Watch' },
    },
  });
  assert.equal((await Badge(page)).text, 'Playing');
  assert.equal(await page.textContent('#video-res'), '1280×720');
  assert.match(await page.textContent('#now-title'), /Market Watch/);
  assert.equal(await page.inputValue('#volume'), '35');
  assert.deepEqual(await Calls(page, 'openVideo', 'playVideo', 'setVolume'), []);
  await page.close();
});

test('a channel that stays opening is reported as possibly unavailable, once, and only for itself', async () => {
  const { page } = await OpenPlayer(shared.browser, shared.server, {
    fakeClock: true,
    storage: { playlist: { name: 'tv.m3u', source: { kind: 'text' }, text: kSamplePlaylist } },
  });
  await page.click('.channel:has-text("World News HD")');
  await page.clock.runFor(10000);
  await page.click('.channel:has-text("Market Watch")');
  await page.clock.runFor(10000);
  assert.equal(await page.isHidden('#toast'), true, 'the first channel was left before its time ran out');
  await page.clock.runFor(6000);
  assert.match(await page.textContent('#toast'), /Market Watch is taking long to open/);
  await ShellScript(page, "StateChange('playing', '');");
  assert.equal((await Badge(page)).text, 'Playing');
  await page.close();
});

/** A live channel playing on a clock that stands still (after one reading of the duration), so each wait is exact. */
async function PlayingStill(responses) {
  const opened = await Playing({ fakeClock: true, responses });
  await ShellScript(opened.page, "StateChange('playing', '');");
  await opened.page.clock.pauseAt(await opened.page.evaluate(() => Date.now() + 1000));
  await ClearCalls(opened.page);
  return opened;
}

const Reconnecting = (page) => page.$eval('#reconnecting', (notice) => (notice.hidden ? '' : notice.textContent));

test('a live channel that drops is reopened after 2, 4, 8, 16, 30 s and every 30 s until it plays again', async () => {
  const { page } = await PlayingStill();
  // Every attempt fails as with libvlc: "opening" and no word after it, once "stopped" again.
  await page.evaluate(() => {
    const start = Date.now();
    window.opens = [];
    window.__host.responses.openVideo = () => {
      window.opens.push(Date.now() - start);
      StateChange(window.opens.length === 1 ? 'stopped' : 'opening', '');
    };
  });
  await ShellScript(page, "StateChange('stopped', '');");
  assert.equal(await Reconnecting(page), 'Reconnecting\u2026');
  await page.clock.runFor(120000);
  assert.deepEqual(await page.evaluate(() => window.opens), [2000, 6000, 14000, 30000, 60000, 90000, 120000]);
  assert.equal((await Calls(page, 'playVideo')).length, 7);
  assert.doesNotMatch(await page.textContent('#toast'), /taking long/, 'the notice says it already');
  await ShellScript(page, "StateChange('playing', '');");
  assert.equal(await Reconnecting(page), '');
  await ShellScript(page, "StateChange('stopped', '');");
  await page.clock.runFor(2000);
  assert.equal(await page.evaluate(() => window.opens.at(-1)), 122000, 'playing started the pace again');
  await page.close();
});

test('what cancels reconnecting, and the stops that never start it', async () => {
  const market = ['async', 'openVideo', 'http://streams.example/market.ts'];
  const cases = [
    { name: 'any key cancels it', drops: true, then: (page) => page.keyboard.press('Shift') },
    { name: 'a channel change cancels it', drops: true, then: (page) => page.click('.channel:has-text("Market Watch")'), opens: [market] },
    { name: 'the page asked for the stop', before: (page) => page.click('#stop') },
    { name: 'a channel change ended the old input', before: (page) => page.click('.channel:has-text("Market Watch")'), opens: [market] },
    { name: 'a file with a length ended', responses: { getDuration: 60000 } },
  ];
  for (const c of cases) {
    const { page } = await PlayingStill(c.responses);
    await c.before?.(page);
    await ShellScript(page, "StateChange('stopped', '');");
    assert.equal(await Reconnecting(page), c.drops ? 'Reconnecting\u2026' : '', c.name);
    await c.then?.(page);
    assert.equal(await Reconnecting(page), '', c.name);
    await page.clock.runFor(125000);
    assert.deepEqual(await Calls(page, 'openVideo'), c.opens ?? [], c.name);
    await page.close();
  }
});
