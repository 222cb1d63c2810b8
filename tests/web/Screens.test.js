// Screenshots of the main screens at two window sizes, and in the ten-foot size at 1920x1080 driven
// by a remote's keys alone, for a person to look at, plus the layout checks that hold on every
// screen: controls inside the window, nothing hiding off the edges.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { before, describe, test } from 'node:test';
import { Calls, ClearCalls, kSamplePlaylist, kScreenshotDir, OpenPlayer, SharedBrowser, ShellScript } from './Harness.js';

const shared = SharedBrowser();
before(() => fs.mkdirSync(kScreenshotDir, { recursive: true }));

/** Paints a test card behind the transparent page where the shell's picture would be. */
async function FakePicture(page) {
  await page.evaluate(() => {
    const canvas = document.createElement('canvas');
    canvas.width = 1280;
    canvas.height = 720;
    const g = canvas.getContext('2d');
    const sky = g.createLinearGradient(0, 0, 0, 720);
    sky.addColorStop(0, '#2b5876');
    sky.addColorStop(0.6, '#e0a96d');
    sky.addColorStop(1, '#3a2f2f');
    g.fillStyle = sky;
    g.fillRect(0, 0, 1280, 720);
    g.fillStyle = '#1d2a22';
    g.beginPath();
    g.moveTo(0, 560);
    g.bezierCurveTo(300, 420, 600, 640, 1280, 480);
    g.lineTo(1280, 720);
    g.lineTo(0, 720);
    g.fill();
    g.fillStyle = 'rgba(255, 236, 180, 0.9)';
    g.beginPath();
    g.arc(900, 330, 60, 0, Math.PI * 2);
    g.fill();
    const stage = document.getElementById('stage').getBoundingClientRect();
    const root = document.documentElement.style;
    root.background = `#000 url(${canvas.toDataURL()}) no-repeat`;
    root.backgroundPosition = `${stage.left}px ${stage.top}px`;
    root.backgroundSize = `${stage.width}px ${stage.height}px`;
  });
}

/** A mouse move brings faded controls back (they fade after three quiet seconds of playing). */
async function Wake(page) {
  await page.mouse.move(5, 5);
  await page.mouse.move(400, 300);
}

/** Every visible button lies inside the window, and the page does not scroll sideways. */
async function CheckLayout(page, label) {
  const problems = await page.evaluate(() => {
    const found = [];
    const { innerWidth: w, innerHeight: h } = window;
    for (const el of document.querySelectorAll('button, input, select')) {
      const box = el.getBoundingClientRect();
      const style = getComputedStyle(el);
      if (box.width === 0 || box.height === 0 || style.visibility === 'hidden' || el.closest('[hidden]')) continue;
      if (el.closest('.channel-panel') && document.body.classList.contains('panel-closed')) continue;
      if (box.left < -1 || box.top < -1 || box.right > w + 1 || box.bottom > h + 1) found.push(el.id || el.className);
    }
    if (document.documentElement.scrollWidth > w) found.push('horizontal scroll');
    const stage = document.getElementById('stage').getBoundingClientRect();
    if (stage.width < w / 2 || stage.height < h) found.push('video area too small');
    return found;
  });
  assert.deepEqual(problems, [], label);
}

/** Checks the layout and saves a screenshot with the bars' fades run to their end. */
async function Shot(page, name) {
  await CheckLayout(page, name);
  await page.screenshot({ path: path.join(kScreenshotDir, `${name}.png`), animations: 'disabled' });
}

const kSizes = [
  { name: 'wide', viewport: { width: 1280, height: 720 } },
  { name: 'small', viewport: { width: 800, height: 600 } },
];

for (const size of kSizes) {
  describe(`screens at ${size.viewport.width}x${size.viewport.height}`, () => {
    const shot = (page, name) => Shot(page, `${size.name}-${name}`);

    test('start, playing, faded, statistics, tracks, picture in picture', async () => {
      const { page } = await OpenPlayer(shared.browser, shared.server, {
        viewport: size.viewport,
        responses: {
          getAudioTracks: 'Disable:::::English (Stereo):::::Deutsch (5.1)',
          getAudioTrack: 1,
          getStatistics:
            'Input:\n  read_bytes: 48211332\n  input_bitrate: 5\n\nDemux:\n  demux_read_bytes: 48100230\n  demux_bitrate: 5\n' +
            'demux_corrupted: 0\n  demux_discontinuity: 0\n\nDecoders:\n  decoded_video: 2411\n  decoded_audio: 3790\n\n' +
            'Video Output:\n  displayed_pictures: 2409\n  lost_pictures: 2\n\nAudio output:\n  played_abuffers: 3788\n  lost_abuffers: 0\n',
          getTrackInfo:
            'Stream Video_1:\n    Codec: H264 - MPEG-4 AVC (part 10)\n    Bitrate: 0\n    Resolution: 1920x1080\n    Frame_rate_num: 25\n    Frame_rate_den: 1\n' +
            'Stream Audio_1:\n    Codec: MPEG AAC Audio (mp4a)\n    Bitrate: 128000\n    Language: eng\n    Channels: 2\n    Rate: 48000\n',
          getVideoSize: '1920x1080',
        },
      });
      await shot(page, 'start');
      await page.evaluate((text) => {
        localStorage.setItem('vendrak.playlist', JSON.stringify({ name: 'Living room.m3u', source: { kind: 'text' }, text }));
      }, `${kSamplePlaylist}\n${Array.from({ length: 24 }, (_, i) => `#EXTINF:-1 group-title="Sport",Sport Channel ${i + 1}\nhttp://sport/${i}`).join('\n')}`);
      await page.reload();
      await page.waitForSelector('.channel', { state: 'attached' });
      if (size.viewport.width < 900) await page.click('#toggle-channels');
      await shot(page, 'channels');
      await page.click('.channel:has-text("World News HD")');
      if (size.viewport.width < 900) await page.keyboard.press('Escape');
      await ShellScript(page, "StateChange('playing', '');vlc_video_res(1920,1080,25);vlc_bitrate(6);");
      await FakePicture(page);
      await Wake(page);
      await shot(page, 'playing');
      await page.evaluate(() => document.body.classList.add('controls-hidden'));
      await shot(page, 'faded');
      await Wake(page);
      await page.click('#stats-button');
      await page.waitForSelector('.stats-section');
      await shot(page, 'statistics');
      await Wake(page);
      await page.click('#stats-button');
      await Wake(page);
      await page.click('#audio-menu-button');
      await page.waitForSelector('#track-menu:not([hidden])');
      await shot(page, 'audio-menu');
      await page.keyboard.press('Escape');
      await Wake(page);
      await page.click('#pip-button');
      await ShellScript(page, "StateChange('buffering_pip', '60');");
      await shot(page, 'pip');
      await page.close();
    });

    test('settings, about and address dialogs; preview', async () => {
      const { page } = await OpenPlayer(shared.browser, shared.server, { viewport: size.viewport });
      await page.click('#show-settings');
      await shot(page, 'settings');
      await page.keyboard.press('Escape');
      await page.click('#show-about');
      await page.click('.bridge-check summary');
      await page.click('#bridge-check');
      await page.waitForFunction(() => document.getElementById('bridge-results').children.length === 5);
      await shot(page, 'about');
      await page.keyboard.press('Escape');
      await page.click('#idle-open-address');
      await page.fill('#address-input', 'http://tv.example/live/news.m3u8');
      await shot(page, 'address');
      await page.close();
      const preview = await OpenPlayer(shared.browser, shared.server, {
        mode: 'absent',
        viewport: size.viewport,
        storage: { playlist: { name: 'tv.m3u', source: { kind: 'text' }, text: kSamplePlaylist } },
      });
      await shot(preview.page, 'preview');
      await preview.page.close();
    });
  });
}

test('ten-foot size at 1920x1080, driven by keys only as from a remote', async () => {
  const { page, errors } = await OpenPlayer(shared.browser, shared.server, {
    viewport: { width: 1920, height: 1080 },
    fakeClock: true,
    storage: { settings: { tenFoot: true } },
    dialogAnswers: [[1, '/C:\\TV\\living room.m3u']],
    responses: { readFile: kSamplePlaylist, getAudioTracks: 'Disable:::::English (Stereo):::::Deutsch (5.1)', getAudioTrack: 1 },
  });
  // The clock stands still from here, so the bars fade only when a key says so.
  await page.clock.pauseAt(await page.evaluate(() => Date.now() + 1000));
  await ClearCalls(page);
  const press = async (...keys) => {
    for (const key of keys) await page.keyboard.press(key);
  };
  const state = () =>
    page.evaluate(() => ({ focus: document.activeElement.id, hidden: document.body.classList.contains('controls-hidden') }));
  assert.deepEqual(await state(), { focus: 'idle-open-playlist', hidden: false });
  await Shot(page, 'ten-foot-start');
  await press('Enter');
  await page.clock.runFor(100); // the shell answers the dialog from its message loop
  await page.waitForSelector('.channel');
  await press('ArrowDown', 'Enter');
  await ShellScript(page, "StateChange('playing', '');");
  await FakePicture(page);
  await Shot(page, 'ten-foot-list');
  await press('ArrowRight', 'Escape');
  assert.deepEqual(await state(), { focus: '', hidden: true }, 'Right leaves the list; Escape hides the bars and the focus');
  await press('ArrowDown', 'ArrowUp', 'PageDown');
  assert.equal((await state()).hidden, true, 'changing channel does not show the bars');
  await ShellScript(page, "StateChange('playing', '');");
  await press('Enter');
  assert.deepEqual(await state(), { focus: 'play-pause', hidden: false });
  await Shot(page, 'ten-foot-controls');
  // Along the bar past the volume slider (it keeps Up and Down) to the audio menu.
  await press('ArrowRight', 'ArrowRight', 'ArrowRight', 'ArrowRight', 'ArrowRight', 'ArrowRight', 'Enter');
  await page.waitForSelector('#track-menu:not([hidden])');
  await Shot(page, 'ten-foot-audio-menu');
  await press('ArrowDown', 'Enter', 'ArrowRight', 'Enter');
  await page.waitForSelector('#track-menu:not([hidden])');
  await press('Escape');
  assert.deepEqual(await state(), { focus: 'subtitle-menu-button', hidden: false }, 'Escape closes the subtitle menu');
  await press('ArrowRight', 'ArrowRight', 'Enter');
  await ShellScript(page, "StateChange('buffering_pip', '60');");
  await Shot(page, 'ten-foot-pip');
  await press('Enter', 'ArrowRight', 'Enter');
  await page.waitForSelector('#stats-overlay:not([hidden])');
  await press('Escape');
  assert.equal(await page.isHidden('#stats-overlay'), true, 'Escape closes the statistics');
  await press('ArrowUp', 'ArrowLeft', 'ArrowLeft', 'ArrowLeft', 'ArrowLeft', 'Enter');
  await page.waitForSelector('#settings-dialog[open]');
  await Shot(page, 'ten-foot-settings');
  await press('Escape', '?');
  await Shot(page, 'ten-foot-keys');
  await press('Escape');
  assert.deepEqual(await state(), { focus: 'show-settings', hidden: false }, 'Escape closes both dialogs');
  // One level at a time: the bars go, then Backspace returns to the channel watched before.
  await press('Backspace', 'Backspace');
  const calls = (await Calls(page)).filter((call) => !/^(get|set(Video|Pip)Rect$|fitVideo$)/.test(call[1]));
  assert.deepEqual(calls, [
    ['async', 'showFileDialog', '', 'm3u,m3u8', '<function>'],
    ['async', 'readFile', '/C:\\TV\\living room.m3u'],
    ...['market.ts', 'cinema.mkv', 'market.ts', 'cinema.mkv'].flatMap((file) => [
      ['async', 'openVideo', `http://streams.example/${file}`],
      ['async', 'playVideo'],
    ]),
    ['async', 'setAudioTrack', 2],
    ['async', 'openPipVideo', 'C:\\Videos\\nature.mkv'],
    ['async', 'playPipVideo'],
    ['async', 'stopPipVideo'],
    ['async', 'openVideo', 'http://streams.example/market.ts'],
    ['async', 'playVideo'],
  ]);
  assert.deepEqual(errors, []);
  await page.close();
});
