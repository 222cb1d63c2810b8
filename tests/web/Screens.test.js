// Screenshots of the main screens at two window sizes, for a person to look at, plus the layout
// checks that hold on every screen: controls inside the window, nothing hiding off the edges.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { before, describe, test } from 'node:test';
import { kSamplePlaylist, kScreenshotDir, OpenPlayer, SharedBrowser, ShellScript } from './Harness.js';

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

const kSizes = [
  { name: 'wide', viewport: { width: 1280, height: 720 } },
  { name: 'small', viewport: { width: 800, height: 600 } },
];

for (const size of kSizes) {
  describe(`screens at ${size.viewport.width}x${size.viewport.height}`, () => {
    const shot = async (page, name) => {
      await CheckLayout(page, name);
      await page.screenshot({ path: path.join(kScreenshotDir, `${size.name}-${name}.png`) });
    };

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
